#include "message/DialogGeometry.h"

#include <algorithm>

#include "base/FloorHalf.h"

namespace Message {

std::int32_t IconColumn(std::int32_t iconWidth) { return iconWidth == 0 ? 0 : iconWidth + margin; }

std::int32_t MaxTextWidth(std::int32_t iconWidth) { return textWidthLimit - IconColumn(iconWidth); }

BoxGeometry ComputeBoxGeometry(const Rect& client, const Rect& window, Size icon, Size extent, bool hasButtons,
                               std::int32_t firstButtonHeight)
{
    const std::int32_t frameWidth = window.Width() - client.Width();
    const std::int32_t frameHeight = window.Height() - client.Height();
    const std::int32_t iconColumn = IconColumn(icon.cx);

    BoxGeometry box;
    box.textRect = client;
    box.size.cx = frameWidth + extent.cx + iconColumn + 2 * margin;
    box.size.cy = frameHeight + 2 * margin;
    box.iconPosition = {margin, margin};
    if (extent.cy > icon.cy) {
        box.iconPosition.y = margin + FloorHalf(extent.cy - icon.cy);
        box.size.cy += extent.cy;
    } else {
        box.textRect.top += FloorHalf(icon.cy - extent.cy);
        box.size.cy += icon.cy;
    }
    box.textRect.top += margin;
    box.textRect.left += iconColumn + margin;
    box.textRect.right = box.textRect.left + extent.cx;
    box.textRect.bottom = box.textRect.top + extent.cy;
    if (hasButtons)
        box.size.cy += firstButtonHeight + margin;
    return box;
}

Size ButtonSize(Size captionExtent)
{
    return {captionExtent.cx + buttonAllowance.cx, captionExtent.cy + buttonAllowance.cy};
}

std::vector<Rect> ArrangeButtons(const Rect& client, Point iconPosition, std::int32_t iconHeight,
                                 const Rect& textRect, const std::vector<Size>& buttons)
{
    std::vector<Rect> placed;
    if (buttons.empty())
        return placed;
    const std::int32_t y = std::max(iconPosition.y + iconHeight, textRect.bottom) + margin;
    const auto gaps = margin * static_cast<std::int32_t>(buttons.size() - 1);
    std::int32_t naturalWidth = gaps;
    std::int32_t paddedWidth = gaps;
    std::int32_t rowHeight = 0;
    for (const Size& button : buttons) {
        naturalWidth += button.cx;
        paddedWidth += std::max(button.cx, minimumButtonWidth);
        rowHeight = std::max(rowHeight, button.cy);
    }
    const bool padded = client.Width() > paddedWidth;
    const std::int32_t rowWidth = padded ? paddedWidth : naturalWidth;
    // Rounded toward zero: an overhanging row is cut off equally.
    std::int32_t x = client.left + (client.Width() - rowWidth) / 2;
    for (const Size& button : buttons) {
        const std::int32_t width = padded ? std::max(button.cx, minimumButtonWidth) : button.cx;
        placed.push_back({x, y, x + width, y + rowHeight});
        x += width + margin;
    }
    return placed;
}

}  // namespace Message
