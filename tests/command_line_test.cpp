#include <gtest/gtest.h>

#include "base/CommandLine.h"

namespace {

struct ArgumentTextCase {
    const wchar_t* commandLine;
    const wchar_t* argumentText;
};

class ArgumentText : public testing::TestWithParam<ArgumentTextCase> {};

TEST_P(ArgumentText, SkipsTheProgramNameAndTheBlanksAfterIt)
{
    EXPECT_EQ(WindowsCommandLine::ArgumentText(GetParam().commandLine), GetParam().argumentText);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ArgumentText,
    testing::Values(
        ArgumentTextCase{L"\"C:\\Program Files\\Vantrel\\launcher.exe\"  /p \"my file.vz\"", L"/p \"my file.vz\""},
        ArgumentTextCase{L"\"C:\\Program Files\\Vantrel\\launcher.exe\"", L""},
        ArgumentTextCase{L"launcher.exe", L""},
        ArgumentTextCase{L"", L""},
        // A quote never closed: all program name.
        ArgumentTextCase{L"\"C:\\a b\\launcher.exe /p x", L""},
        ArgumentTextCase{L"launcher.exe\t\t x  y ", L"x  y "},
        ArgumentTextCase{L"launcher.exe \x01\x1f z", L"z"},
        // A quote inside the name switches quoting without ending the name.
        ArgumentTextCase{L"C:\\a\" b\"\\l.exe  \"q\"", L"\"q\""},
        ArgumentTextCase{L"launcher.exe   ", L""}));

TEST(ProductCommandLine, QuotesThePathAndAppendsTheArgumentsVerbatim)
{
    EXPECT_EQ(WindowsCommandLine::ProductCommandLine(L"C:\\Vantrel\\vantrelz.bim", L""), L"\"C:\\Vantrel\\vantrelz.bim\" ");
    EXPECT_EQ(WindowsCommandLine::ProductCommandLine(L"D:\\vantrelz.bim", L"\"a b.vz\" /x  \"\""),
              L"\"D:\\vantrelz.bim\" \"a b.vz\" /x  \"\"");
}

}  // namespace
