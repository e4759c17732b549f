#include <windows.h>
#include "platform/Down.h"
