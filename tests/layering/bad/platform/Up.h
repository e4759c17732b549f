#pragma once
#include "message/Dialog.h"
