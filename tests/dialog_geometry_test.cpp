#include <gtest/gtest.h>

#include "message/DialogGeometry.h"
#include "skin/Centring.h"

namespace {

using Platform::Point;
using Platform::Rect;
using Platform::Size;

// A window as created from the template: 3 px frame, 22 px caption.
const Rect client = {0, 0, 300, 150};
const Rect window = {50, 60, 356, 235};

TEST(BoxGeometry, WithoutAnIcon)
{
    const auto box = Message::ComputeBoxGeometry(client, window, {0, 0}, {200, 26}, false, 0);
    EXPECT_EQ(box.size, (Size{6 + 200 + 24, 25 + 24 + 26}));
    EXPECT_EQ(box.textRect, (Rect{12, 12, 212, 38}));
    EXPECT_EQ(box.iconPosition, (Point{12, 12 + 13}));  // moved, though nothing is drawn there
    EXPECT_EQ(Message::MaxTextWidth(0), 526);
}

TEST(BoxGeometry, AOneLineTextIsCentredAgainstTheIcon)
{
    const auto box = Message::ComputeBoxGeometry(client, window, {32, 32}, {188, 13}, true, 23);
    EXPECT_EQ(box.iconPosition, (Point{12, 12}));
    EXPECT_EQ(box.textRect, (Rect{56, 21, 244, 34}));
    EXPECT_EQ(box.size, (Size{6 + 188 + 44 + 24, 25 + 24 + 32 + 23 + 12}));
    EXPECT_EQ(Message::MaxTextWidth(32), 526 - 44);
}

TEST(BoxGeometry, ATallerTextMovesTheIconDown)
{
    const auto box = Message::ComputeBoxGeometry(client, window, {32, 32}, {300, 65}, false, 0);
    EXPECT_EQ(box.iconPosition, (Point{12, 12 + 16}));
    EXPECT_EQ(box.textRect.top, 12);
    EXPECT_EQ(box.textRect.bottom, 77);
    EXPECT_EQ(box.size.cy, 25 + 24 + 65);
}

TEST(BoxGeometry, OddDifferencesRoundDown)
{
    const auto taller = Message::ComputeBoxGeometry(client, window, {32, 32}, {10, 39}, false, 0);
    EXPECT_EQ(taller.iconPosition.y, 12 + 3);
    const auto shorter = Message::ComputeBoxGeometry(client, window, {32, 32}, {10, 13}, false, 0);
    EXPECT_EQ(shorter.textRect.top, 12 + 9);
}

TEST(ButtonSize, AddsTheAllowance)
{
    EXPECT_EQ(Message::ButtonSize({31, 13}), (Size{45, 23}));
}

struct RowCase {
    const char* name;
    std::int32_t clientWidth;
    std::vector<Size> buttons;
    std::vector<Rect> placed;
};

TEST(ArrangeButtons, CentresOneRowBelowTextAndIcon)
{
    const Point icon = {12, 12};
    const Rect text = {56, 21, 244, 34};  // ends above the icon's bottom (44)
    const RowCase cases[] = {
        {"one Close button padded", 300, {{45, 23}}, {{107, 56, 192, 79}}},
        {"Download and No padded as a pair", 300, {{72, 23}, {30, 23}}, {{59, 56, 144, 79}, {156, 56, 241, 79}}},
        {"client exactly as wide as the padded row", 182, {{72, 23}, {30, 23}}, {{34, 56, 106, 79}, {118, 56, 148, 79}}},
        {"overhanging row cut off equally", 100, {{72, 23}, {60, 25}}, {{-22, 56, 50, 81}, {62, 56, 122, 81}}},
        {"no buttons", 300, {}, {}},
    };
    for (const RowCase& c : cases) {
        EXPECT_EQ(Message::ArrangeButtons({0, 0, c.clientWidth, 200}, icon, 32, text, c.buttons), c.placed) << c.name;
    }
}

TEST(ArrangeButtons, TheRowStartsBelowATallText)
{
    const auto placed = Message::ArrangeButtons({0, 0, 300, 200}, {12, 28}, 32, {56, 12, 356, 77}, {{45, 23}});
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0].top, 77 + 12);
}

TEST(CenterOver, RoundsHalvesTowardMinusInfinity)
{
    EXPECT_EQ(Skin::CenterOver({0, 0, 1024, 768}, {300, 101}), (Point{362, 333}));
    // A reference 5 px narrower than the box: 3 px left of its left edge.
    EXPECT_EQ(Skin::CenterOver({100, 100, 195, 300}, {100, 200}), (Point{97, 100}));
    EXPECT_EQ(Skin::CenterOver({-50, -40, 50, 40}, {20, 10}), (Point{-10, -5}));
}

}  // namespace
