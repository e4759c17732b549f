#pragma once
// Where a dialog goes when it is centred.

#include "platform/DrawingContext.h"

namespace Skin {

// Top-left of a box of this size centred over the reference rectangle, the
// halves rounded toward minus infinity.
Platform::Point CenterOver(const Platform::Rect& reference, Platform::Size size);

}  // namespace Skin
