#include <gtest/gtest.h>

#include "update/ReleaseDescription.h"

namespace {

struct DecisionCase {
    const wchar_t* description;
    UpdateStatus status;
    const wchar_t* downloadAddress;
};

class ReleaseDecisionTest : public testing::TestWithParam<DecisionCase> {};

TEST_P(ReleaseDecisionTest, Decides)
{
    const ReleaseDecision decision = DecideRelease(GetParam().description);
    EXPECT_EQ(decision.status, GetParam().status);
    EXPECT_EQ(decision.downloadAddress, GetParam().downloadAddress);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReleaseDecisionTest,
    testing::Values(
        DecisionCase{L"<main>1</main><minor>1</minor><build1>1</build1><build2>2</build2><url>http://x/d</url>",
                     NewerAvailable, L"http://x/d"},
        DecisionCase{L"<main>1</main><minor>1</minor><build1>1</build1><build2>0</build2><url>u</url>", UpToDate,
                     L"u"},
        DecisionCase{L"<main>1</main><minor>1</minor><build1>1</build1><build2>-1</build2>", UpToDate, L""},
        // Another main, minor or build1 decides at once, greater or smaller.
        DecisionCase{L"<main>2</main><minor>1</minor><build1>1</build1><build2>9</build2>", UpToDate, L""},
        DecisionCase{L"<main>0</main><minor>1</minor><build1>1</build1><build2>9</build2>", UpToDate, L""},
        DecisionCase{L"<main>1</main><minor>2</minor><build1>0</build1><build2>0</build2>", UpToDate, L""},
        DecisionCase{L"<main>1</main><minor>1</minor><build1>2</build1><build2>9</build2>", UpToDate, L""},
        // A tag at the very start; tags in any order and place.
        DecisionCase{L"<main>1<minor>1<build1>1<build2>3", NewerAvailable, L""},
        DecisionCase{L"x<build2>5</build2> <build1>1</build1><url>a</url><minor>1</minor>--<main>1</main>",
                     NewerAvailable, L"a"},
        // Number forms after <build2>.
        DecisionCase{L"<main>1<minor>1<build1>1<build2> 7 </build2>", NewerAvailable, L""},
        DecisionCase{L"<main>1<minor>1<build1>1<build2>7a</build2>", NewerAvailable, L""},
        DecisionCase{L"<main>1<minor>1<build1>1<build2>x</build2>", UpToDate, L""},
        DecisionCase{L"<main>1<minor>1<build1>1<build2>\t\n+4</build2>", NewerAvailable, L""},
        DecisionCase{L"<main>1<minor>1<build1>1<build2>99999999999</build2>", NewerAvailable, L""},
        DecisionCase{L"<main>4294967297<minor>1<build1>1<build2>2", UpToDate, L""},
        // Case matters; only the first occurrence counts.
        DecisionCase{L"<Main>1<minor>1<build1>1<build2>2", UpToDate, L""},
        DecisionCase{L"<main>1<minor>1<build1>1<build2>0<build2>5<url>first</url><url>second</url>", UpToDate,
                     L"first"},
        // No tags at all, or nothing.
        DecisionCase{L"", UpToDate, L""},
        DecisionCase{L"the latest release is 1.1.1.9", UpToDate, L""},
        // The address verbatim: blanks and entity text kept.
        DecisionCase{L"<main>1<minor>1<build1>1<build2>2<url> http://x/?a=1&amp;b=2 </url>", NewerAvailable,
                     L" http://x/?a=1&amp;b=2 "},
        // Newer without an address still offers it.
        DecisionCase{L"<main>1<minor>1<build1>1<build2>2", NewerAvailable, L""},
        // No "<" after a tag: its text runs to the end.
        DecisionCase{L"<main>1<minor>1<build1>1<build2>2<url>http://x/end", NewerAvailable, L"http://x/end"}));

TEST(DecimalValue, SaturatesAtThe32BitLimits)
{
    EXPECT_EQ(DecimalValue(L"2147483647"), 2147483647);
    EXPECT_EQ(DecimalValue(L"2147483648"), 2147483647);
    EXPECT_EQ(DecimalValue(L"-2147483648"), -2147483647 - 1);
    EXPECT_EQ(DecimalValue(L"-99999999999999999999999"), -2147483647 - 1);
    EXPECT_EQ(DecimalValue(L"+"), 0);
    EXPECT_EQ(DecimalValue(L"- 5"), 0);
    EXPECT_EQ(DecimalValue(L"007"), 7);
}

}  // namespace
