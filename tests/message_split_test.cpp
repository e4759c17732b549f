#include <gtest/gtest.h>

#include "message/Splitting.h"

namespace {

// The element list written as T(text), L(label>target) and S.
std::wstring Describe(const Message::Elements& elements)
{
    std::wstring out;
    for (const auto& element : elements) {
        if (!out.empty())
            out += L"|";
        if (const auto* link = dynamic_cast<const Message::HyperLink*>(element.get()))
            out += L"L(" + link->text + L">" + link->target + L")";
        else if (const auto* plain = dynamic_cast<const Message::PlainText*>(element.get()))
            out += L"T(" + plain->text + L")";
        else if (dynamic_cast<const Message::LineSeparator*>(element.get()))
            out += L"S";
    }
    return out;
}

struct SplitCase {
    const wchar_t* text;
    const wchar_t* elements;
};

class Split : public testing::TestWithParam<SplitCase> {};

TEST_P(Split, GivesTheElements)
{
    Message::Elements elements;
    Message::SplitAndAdd(elements, GetParam().text);
    EXPECT_EQ(Describe(elements), GetParam().elements) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    LineBreaks, Split,
    testing::Values(SplitCase{L"One\nTwo", L"T(One)|S|T(Two)"}, SplitCase{L"One\r\nTwo", L"T(One)|S|T(Two)"},
                    SplitCase{L"One\n\nTwo", L"T(One)|S|T()|S|T(Two)"}, SplitCase{L"One\r\rTwo", L"T(One)|S|T()|S|T(Two)"},
                    SplitCase{L"One\n", L"T(One)"}, SplitCase{L"\nOne", L"T()|S|T(One)"}, SplitCase{L"", L""},
                    SplitCase{L"a\fb\x2028" L"c\x2029" L"d\x85" L"e", L"T(a)|S|T(b)|S|T(c)|S|T(d)|S|T(e)"},
                    SplitCase{L"\n", L"T()"}, SplitCase{L"tab\tand\x0B", L"T(tab\tand\x0B)"}));

INSTANTIATE_TEST_SUITE_P(
    Links, Split,
    testing::Values(
        SplitCase{L"See {hl}the notes{hl=file://docs/readme.txt} now",
                  L"T(See )|L(the notes>file://docs/readme.txt)|T( now)"},
        SplitCase{L"{hl}first\nsecond{hl=file://x}", L"L(first>file://x)|S|L(second>file://x)"},
        SplitCase{L"{hl}a{hl=http://a}{hl}b{hl=https://b}", L"L(a>http://a)|L(b>https://b)"},
        SplitCase{L"{hl}a{hl=http://a}, {hl}b{hl=https://b}", L"L(a>http://a)|T(, )|L(b>https://b)"},
        SplitCase{L"x{hl}{hl=file://x}y", L"T(x)|T(y)"},
        // A break in front of link markup is kept; at the very end it adds nothing.
        SplitCase{L"Text\n{hl}L{hl=file://x}", L"T(Text)|S|L(L>file://x)"},
        SplitCase{L"Text\n\n{hl}L{hl=file://x}", L"T(Text)|S|T()|S|L(L>file://x)"},
        SplitCase{L"{hl}L{hl=file://x}\nmore", L"L(L>file://x)|T()|S|T(more)"},
        SplitCase{L"{hl}L\n{hl=file://x}more", L"L(L>file://x)|S|T(more)"},
        SplitCase{L"{hl}L{hl=file://x}\n", L"L(L>file://x)|T()"},
        // Address forms.
        SplitCase{L"{hl}a{hl=file:///C:/notes.txt}", L"L(a>file:///C:/notes.txt)"},
        SplitCase{L"{hl}a{hl=ftp:////files}", L"L(a>ftp:////files)"},
        SplitCase{L"{hl}a{hl=file:\\\\server\\share\\x}", L"L(a>file:\\\\server\\share\\x)"},
        SplitCase{L"{hl}a{hl=ftp://}", L"L(a>ftp://)"},
        SplitCase{L"{hl}x{hl=file://a/b.}", L"L(x>file://a/b.)"},
        SplitCase{L"{hl}x{hl=gopher://a(b)~_?+-=#@%;$&}", L"L(x>gopher://a(b)~_?+-=#@%;$&)"},
        SplitCase{L"{hl}x{hl=ms-help://a}{hl}y{hl=notes://b}{hl}z{hl=telnet://c}",
                  L"L(x>ms-help://a)|L(y>notes://b)|L(z>telnet://c)"},
        // Unrecognised markup stays text, or stretches into a later label.
        SplitCase{L"{hl}a{hl=file://x", L"T({hl}a{hl=file://x)"},
        SplitCase{L"{hl}a{hl=docs/readme}", L"T({hl}a{hl=docs/readme})"},
        SplitCase{L"{hl}a{hl=mailto:x@y}", L"T({hl}a{hl=mailto:x@y})"},
        SplitCase{L"{hl}a{hl=FILE://x}", L"T({hl}a{hl=FILE://x})"},
        SplitCase{L"{HL}a{hl=file://x}", L"T({HL}a{hl=file://x})"},
        SplitCase{L"{hl}a{hl=file:/x}", L"T({hl}a{hl=file:/x})"},
        SplitCase{L"{hl}a{hl=file://a b}", L"T({hl}a{hl=file://a b})"},
        SplitCase{L"{hl}a{hl=file://a,b}", L"T({hl}a{hl=file://a,b})"},
        SplitCase{L"{hl}a{hl=file://a b} {hl=http://c}", L"L(a{hl=file://a b} >http://c)"},
        SplitCase{L"see file://docs", L"T(see file://docs)"}));

TEST(Split, AppendsWithoutTouchingWhatIsThere)
{
    Message::Elements elements;
    Message::SplitAndAdd(elements, L"a");
    const auto first = elements.front();
    Message::SplitAndAdd(elements, L"b\nc");
    EXPECT_EQ(elements.front(), first);
    EXPECT_EQ(Describe(elements), L"T(a)|T(b)|S|T(c)");
}

TEST(SplitLines, CallsBackForEachLine)
{
    std::vector<std::pair<std::wstring, bool>> lines;
    Message::SplitLines(L"a\n\nb\n", [&](const std::wstring& line, bool notLast) { lines.emplace_back(line, notLast); });
    EXPECT_EQ(lines, (std::vector<std::pair<std::wstring, bool>>{{L"a", true}, {L"", true}, {L"b", false}}));
}

}  // namespace
