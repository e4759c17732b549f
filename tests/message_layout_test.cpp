// Layout, painting and hit testing of the text elements with fixed metrics:
// every code unit 10 px wide, every line 13 px high.

#include <gtest/gtest.h>

#include "message/Splitting.h"
#include "support/CaseName.h"
#include "support/MeasuringContext.h"

namespace {

using Platform::Point;
using Platform::Rect;
using Platform::Size;

struct Laid {
    Message::Elements elements;
    Size extent;
    Point pen;
    TestSupport::MeasuringContext dc{10, 13};

    Laid(const std::wstring& text, std::int32_t maxWidth)
    {
        Message::SplitAndAdd(elements, text);
        for (const auto& element : elements)
            element->Layout(dc, extent, pen, maxWidth);
        for (const auto& element : elements)
            element->Draw(dc);
    }

    // Every run as "text@x,y".
    std::vector<std::wstring> Runs() const
    {
        std::vector<std::wstring> runs;
        for (const auto& d : dc.drawn)
            runs.push_back(d.text + L"@" + std::to_wstring(d.at.x) + L"," + std::to_wstring(d.at.y));
        return runs;
    }

    std::wstring TargetAt(Point p) const
    {
        for (const auto& element : elements) {
            const std::wstring target = element->TargetAt(p);
            if (!target.empty())
                return target;
        }
        return std::wstring();
    }
};

struct LayoutCase {
    const char* name;
    const wchar_t* text;
    std::int32_t maxWidth;
    std::vector<std::wstring> runs;
    Size extent;
};

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }

class LayoutTable : public testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutTable, PlacesEveryRun)
{
    const LayoutCase& c = GetParam();
    const Laid laid(c.text, c.maxWidth);
    EXPECT_EQ(laid.Runs(), c.runs);
    EXPECT_EQ(laid.extent, c.extent);
    // Every drawn run lies inside the extent.
    for (const auto& d : laid.dc.drawn) {
        EXPECT_LE(d.at.x + static_cast<std::int32_t>(d.text.size()) * 10, laid.extent.cx) << c.name;
        EXPECT_LE(d.at.y + 13, laid.extent.cy) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, LayoutTable,
    testing::Values(
        LayoutCase{"words", L"one two  three", 200, {L"one @0,0", L"two  @40,0", L"three@90,0"}, {140, 13}},
        LayoutCase{"leading blanks are a word", L"  lead", 200, {L"  @0,0", L"lead@20,0"}, {60, 13}},
        LayoutCase{"exact fit stays on the line", L"abc defg", 80, {L"abc @0,0", L"defg@40,0"}, {80, 13}},
        LayoutCase{"exact fit, then ordinary lines", L"abc def hi jk", 80,
                   {L"abc @0,0", L"def @40,0", L"hi @0,13", L"jk@30,13"}, {80, 26}},
        LayoutCase{"trailing blank moves the word", L"abc defg ", 80, {L"abc @0,0", L"defg @0,13"}, {50, 26}},
        LayoutCase{"empty text", L"", 100, {}, {0, 0}},
        LayoutCase{"new line", L"ab\ncd", 100, {L"ab@0,0", L"cd@0,13"}, {20, 26}},
        LayoutCase{"separator last adds a line", L"ab{hl}x{hl=file://x}\n\n", 100, {L"ab@0,0", L"x@20,0"}, {30, 26}},
        LayoutCase{"leading break counts the first line", L"\nab", 100, {L"ab@0,13"}, {20, 26}},
        LayoutCase{"two leading breaks", L"\n\nab", 100, {L"ab@0,26"}, {20, 39}},
        LayoutCase{"wide word over several lines", L"x abcdefghijkl y", 50,
                   {L"x @0,0", L"abc@20,0", L"defgh@0,13", L"ijkl @0,26", L"y@0,39"}, {50, 52}},
        LayoutCase{"wide word at the start", L"abcdefghijkl", 50, {L"abcde@0,0", L"fghij@0,13", L"kl@0,26"},
                   {50, 52}},
        LayoutCase{"link continues the line", L"see {hl}the notes{hl=file://n} now", 500,
                   {L"see @0,0", L"the @40,0", L"notes@80,0", L" @130,0", L"now@140,0"}, {170, 13}}),
    TestSupport::CaseName());

TEST(Layout, ALineSeparatorAsLastElementAddsAnEmptyLine)
{
    Message::Elements elements{boost::shared_ptr<Message::Text>(new Message::PlainText(L"ab")),
                               boost::shared_ptr<Message::Text>(new Message::LineSeparator)};
    TestSupport::MeasuringContext dc(10, 13);
    Size extent;
    Point pen;
    for (const auto& element : elements)
        element->Layout(dc, extent, pen, 100);
    EXPECT_EQ(extent, (Size{20, 26}));
    EXPECT_EQ(pen, (Point{0, 13}));
}

TEST(Layout, AWordTooWideForAnyLineStillEnds)
{
    // Each unit wider than twice the line: at least one character per line.
    TestSupport::MeasuringContext dc(30, 13);
    Message::PlainText text(L"abcd");
    Size extent;
    Point pen;
    text.Layout(dc, extent, pen, 10);
    ASSERT_EQ(text.words.size(), 1u);
    std::vector<std::wstring> parts;
    for (const auto& part : text.words[0]->parts)
        parts.push_back(part->text);
    EXPECT_EQ(parts, (std::vector<std::wstring>{L"a", L"b", L"c", L"d"}));
    EXPECT_EQ(pen, (Point{0, 52}));
}

TEST(Layout, NoRoomLeftGivesAnEmptyPieceAndTheWordGoesOnBelow)
{
    TestSupport::MeasuringContext dc(10, 13);
    Message::Elements elements;
    Message::SplitAndAdd(elements, L"abcd efghijklmnop");
    Size extent;
    Point pen;
    for (const auto& element : elements)
        element->Layout(dc, extent, pen, 52);
    auto* plain = dynamic_cast<Message::PlainText*>(elements[0].get());
    ASSERT_EQ(plain->words.size(), 2u);
    std::vector<std::wstring> parts;
    for (const auto& part : plain->words[1]->parts)
        parts.push_back(part->text);
    // 2 px left: the estimate rounds to nothing; then full lines.
    EXPECT_EQ(parts, (std::vector<std::wstring>{L"", L"efghi", L"jklmn", L"op"}));
}

TEST(EstimateFit, UsesTheAverageWidthInSinglePrecision)
{
    TestSupport::MeasuringContext dc(7, 13);
    // 10 units over 70 px: 33 px hold 4.714... rounded to 5.
    EXPECT_EQ(Message::EstimateFit(dc, 33, L"abcdefghij", 0, true), 5u);
    EXPECT_EQ(Message::EstimateFit(dc, 31, L"abcdefghij", 0, true), 4u);
    EXPECT_EQ(Message::EstimateFit(dc, 500, L"abcdefghij", 3, true), 7u);
    EXPECT_EQ(Message::EstimateFit(dc, 2, L"abcdefghij", 0, false), 0u);
    EXPECT_EQ(Message::EstimateFit(dc, 2, L"abcdefghij", 0, true), 1u);
}

TEST(EstimateFit, NeverCutsASurrogatePair)
{
    TestSupport::MeasuringContext dc(10, 13);
    const std::wstring text = {L'a', wchar_t(0xD83D), wchar_t(0xDE00), L'b'};
    // Two units fit: the cut would fall inside the pair, so it comes before.
    EXPECT_EQ(Message::EstimateFit(dc, 20, text, 0, true), 1u);
    // At the start of a line the one character forced in is the whole pair.
    EXPECT_EQ(Message::EstimateFit(dc, 4, text, 1, true), 2u);
}

TEST(EstimateFit, NeverCutsWhatAReaderSeesAsOneCharacter)
{
    // In UTF-16, as Windows holds text; the rule is the same in UTF-32.
    const auto u16 = [](std::u16string text) { return std::wstring(text.begin(), text.end()); };
    struct Case {
        const char* name;
        std::wstring text;
        std::size_t fits;      // units that fit in the space given
        std::size_t expected;  // where the cut comes
    };
    const Case cases[] = {
        {"base and combining acute", u16(u"ae\u0301b"), 2, 1},
        {"two combining marks", u16(u"ae\u0301\u0323b"), 3, 1},
        {"variation selector", u16(u"a\u263A\uFE0Fb"), 2, 1},
        {"skin tone", u16(u"a\U0001F44D\U0001F3FDb"), 3, 1},
        {"family joined by ZWJ", u16(u"a\U0001F468\u200D\U0001F469\u200D\U0001F467b"), 4, 1},
        {"after the whole family", u16(u"a\U0001F468\u200D\U0001F469\u200D\U0001F467b"), 9, 9},
        {"inside a flag", u16(u"a\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7"), 3, 1},
        {"between two flags", u16(u"a\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7"), 6, 5},
        {"inside the second flag", u16(u"a\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7"), 7, 5},
        {"plain text cuts anywhere", u16(u"abcdef"), 4, 4},
    };
    for (const Case& c : cases) {
        TestSupport::MeasuringContext dc(10, 13);
        EXPECT_EQ(Message::EstimateFit(dc, static_cast<std::int32_t>(c.fits) * 10, c.text, 0, false), c.expected)
            << c.name;
    }
    // At the start of a line the first cluster goes in whole, however wide.
    TestSupport::MeasuringContext dc(10, 13);
    const std::wstring family = u16(u"\U0001F468\u200D\U0001F469\u200D\U0001F467 x");
    EXPECT_EQ(Message::EstimateFit(dc, 5, family, 0, true), 8u);
    const std::wstring flags = u16(u"\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7");
    EXPECT_EQ(Message::EstimateFit(dc, 5, flags, 0, true), 4u);
    // In UTF-32 the family is five code points.
    if (sizeof(wchar_t) == 4) {
        const std::wstring wide = {L'a', wchar_t(0x1F468), wchar_t(0x200D), wchar_t(0x1F469), wchar_t(0x200D),
                                   wchar_t(0x1F467), L'b'};
        EXPECT_EQ(Message::EstimateFit(dc, 30, wide, 0, false), 1u);
        EXPECT_EQ(Message::EstimateFit(dc, 60, wide, 0, false), 6u);
    }
}

TEST(Links, AreUnderlinedAndClickableOnEveryLineTheyCover)
{
    const Laid laid(L"go {hl}here and there{hl=file://t} now", 90);
    // "go here " on line 1, "and there " on line 2; " now" after it.
    EXPECT_EQ(laid.Runs(), (std::vector<std::wstring>{L"go @0,0", L"here @30,0", L"and @0,13", L"there@40,13",
                                                      L" @0,26", L"now@10,26"}));
    for (const auto& d : laid.dc.drawn)
        EXPECT_EQ(d.underlined, d.text == L"here " || d.text == L"and " || d.text == L"there") << d.text.c_str();
    EXPECT_EQ(laid.TargetAt({35, 5}), L"file://t");
    EXPECT_EQ(laid.TargetAt({75, 5}), L"file://t");  // the link's trailing blank
    EXPECT_EQ(laid.TargetAt({85, 20}), L"file://t");
    EXPECT_EQ(laid.TargetAt({5, 5}), L"");     // plain text
    EXPECT_EQ(laid.TargetAt({200, 5}), L"");   // nothing there
    EXPECT_EQ(laid.TargetAt({5, 30}), L"");
    EXPECT_EQ(laid.TargetAt({80, 0}), L"");    // right edge excluded
    EXPECT_EQ(laid.TargetAt({30, 0}), L"file://t");  // left edge included
}

TEST(Links, DrawWithTheUnderlinedFontThenPutTheOldOneBack)
{
    TestSupport::MeasuringContext dc(10, 13);
    TestSupport::TestFont dialogFont({-11, 0, 400, false, false, false, 1, L"Tahoma"});
    dc.SelectFont(&dialogFont);
    Message::HyperLink link(L"x", L"file://x");
    Size extent;
    Point pen;
    link.Layout(dc, extent, pen, 100);
    link.Draw(dc);
    ASSERT_EQ(dc.drawn.size(), 1u);
    EXPECT_TRUE(dc.drawn[0].underlined);
    EXPECT_EQ(dc.selected, &dialogFont);
    EXPECT_EQ(dc.fontsCreated, 1);
}

TEST(Layout, IsRebuiltFromScratchEachTime)
{
    TestSupport::MeasuringContext dc(10, 13);
    Message::PlainText text(L"a b c");
    for (int i = 0; i < 2; ++i) {
        Size extent;
        Point pen;
        text.Layout(dc, extent, pen, 100);
    }
    EXPECT_EQ(text.words.size(), 3u);
}

}  // namespace
