#include <gtest/gtest.h>

#include "strings/LocalizedStrings.h"
#include "base/Utf8.h"
#include "support/Scopes.h"

namespace {

using TestSupport::LanguageScope;

struct LookupCase {
    int language;
    std::uint32_t id;
    bool afterLineBreak;
    const wchar_t* expected;
};

class LookupTest : public testing::TestWithParam<LookupCase> {};

TEST_P(LookupTest, GivesTheTableText)
{
    const LookupCase& c = GetParam();
    LanguageScope language(c.language);
    const std::wstring text =
        c.afterLineBreak ? LocalizedStrings::GetAfterLineBreak(c.id) : LocalizedStrings::Get(c.id);
    EXPECT_EQ(text, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, LookupTest,
    testing::Values(
        LookupCase{0, 302, false, L"&OK"}, LookupCase{1, 302, false, L"&OK"},
        LookupCase{0, 301, false, L"&Cancel"}, LookupCase{1, 301, false, L"&Cancelar"},
        LookupCase{1, 304, false, L"S\u00ED"},
        // Spanish lacks 27 to 29: no fallback to English.
        LookupCase{1, 27, false, L""}, LookupCase{1, 29, false, L""},
        LookupCase{0, 2363, false, L""}, LookupCase{1, 2363, false, L""},
        LookupCase{0, 2363, true, L""}, LookupCase{1, 2363, true, L""},
        LookupCase{0, 0, false, L""},
        LookupCase{0, 57665, true, L"Exit"}, LookupCase{1, 57665, true, L"Salida"},
        LookupCase{0, 27, true, L"\nNote: You do not need to uninstall your\nprevious version before you install this one."},
        LookupCase{0, 303, true, L"Close"},
        LookupCase{0, 9906, false, L"Click \u201CContinue\u201D to check for updates online"},
        // Any value but 1 selects English.
        LookupCase{2, 301, false, L"&Cancel"}, LookupCase{-1, 301, false, L"&Cancel"},
        LookupCase{2, 29, false, L"Error connection to server."}));

TEST(LocalizedStrings, TablesHoldTheirEntriesInOrder)
{
    std::vector<std::uint32_t> english;
    for (const auto& entry : LocalizedStrings::englishTable)
        english.push_back(entry.id);
    EXPECT_EQ(english, (std::vector<std::uint32_t>{57665, 302, 301, 304, 305, 303, 27, 28, 29, 2936, 9906, 9907,
                                                   9908, 9909}));
    std::vector<std::uint32_t> spanish;
    for (const auto& entry : LocalizedStrings::spanishTable)
        spanish.push_back(entry.id);
    EXPECT_EQ(spanish, (std::vector<std::uint32_t>{57665, 302, 301, 304, 305, 303, 2936, 9906, 9907, 9908, 9909}));
}

TEST(LocalizedStrings, ChangingACopyLeavesTheTableAlone)
{
    std::wstring copy = LocalizedStrings::Get(303);
    copy[0] = L'X';
    EXPECT_EQ(LocalizedStrings::Get(303), L"Close");
}

TEST(Utf8, RoundTripsAndReplacesWhatIsInvalid)
{
    EXPECT_EQ(Utf8::ToWide("S\xC3\xAD \xE2\x80\x9C" "x"), L"S\u00ED \u201Cx");
    EXPECT_EQ(Utf8::FromWide(L"S\u00ED \u201Cx"), "S\xC3\xAD \xE2\x80\x9C" "x");
    EXPECT_EQ(Utf8::FromWide(Utf8::ToWide("\xF0\x9F\x98\x80")), "\xF0\x9F\x98\x80");
    // A stray continuation byte, an overlong form, a truncated sequence.
    EXPECT_EQ(Utf8::ToWide("a\x80" "b"), L"a\uFFFDb");
    EXPECT_EQ(Utf8::ToWide("\xC0\xAF"), L"\uFFFD\uFFFD");
    EXPECT_EQ(Utf8::ToWide("\xE2\x80"), L"\uFFFD\uFFFD");
    EXPECT_EQ(Utf8::ToWide("\xED\xA0\x80"), L"\uFFFD\uFFFD\uFFFD");
}

}  // namespace
