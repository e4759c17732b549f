#include "platform/Down.h"
#include "skin/SkinDialog.h"
