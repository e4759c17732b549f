#pragma once
#include "base/Utf8.h"
