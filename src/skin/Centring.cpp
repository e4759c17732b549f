#include "skin/Centring.h"

#include "base/FloorHalf.h"

namespace Skin {

Platform::Point CenterOver(const Platform::Rect& reference, Platform::Size size)
{
    return {reference.left + FloorHalf(reference.right - size.cx - reference.left),
            reference.top + FloorHalf(reference.bottom - size.cy - reference.top)};
}

}  // namespace Skin
