#pragma once
// The arithmetic of the message box's layout, in device pixels: where the
// icon, the text and the buttons go and how large the box is. The window code
// only applies these results.

#include <cstdint>
#include <vector>

#include "platform/DrawingContext.h"

namespace Message {

using Platform::Point;
using Platform::Rect;
using Platform::Size;

inline constexpr std::int32_t margin = 12;
inline constexpr std::int32_t textWidthLimit = 526;
inline constexpr Size buttonAllowance = {14, 10};
inline constexpr std::int32_t minimumButtonWidth = 85;

// Room left of the text for the icon: its width and a margin, or nothing.
std::int32_t IconColumn(std::int32_t iconWidth);
// The widest line the text may use beside an icon of this width.
std::int32_t MaxTextWidth(std::int32_t iconWidth);

struct BoxGeometry {
    Size size;           // the whole window, frame included
    Point iconPosition;  // client coordinates
    Rect textRect;       // client coordinates
};

// The box's size and the places of icon and text, from the client and
// window rectangles of the window as created, the icon's size, the text
// block's extent and the first button's height (0 when there are none).
BoxGeometry ComputeBoxGeometry(const Rect& client, const Rect& window, Size icon, Size extent, bool hasButtons,
                               std::int32_t firstButtonHeight);

// A button's first size: its caption's extent plus the allowance.
Size ButtonSize(Size captionExtent);

// The buttons' rectangles, in client coordinates and in list order: one
// centred row below the icon and the text, padded to the minimum width only
// when the padded row fits inside the client width.
std::vector<Rect> ArrangeButtons(const Rect& client, Point iconPosition, std::int32_t iconHeight,
                                 const Rect& textRect, const std::vector<Size>& buttons);

}  // namespace Message
