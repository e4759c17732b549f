#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "launch/PathHelpers.h"
#include "base/PathRules.h"

namespace {

using PathRules::Style;

// The product's path, and its working directory, as the launcher builds them
// from its own executable's path.
struct ProductPathCase {
    const wchar_t* executable;
    const wchar_t* applicationName;
    const wchar_t* workingDirectory;
};

class WindowsProductPath : public testing::TestWithParam<ProductPathCase> {};

TEST_P(WindowsProductPath, FollowsTheDriveAndNetworkRules)
{
    const ProductPathCase& c = GetParam();
    const auto generic = PathRules::GenericForm<wchar_t>(c.executable, Style::Windows);
    const auto directory = PathRules::RemoveFileName(generic, Style::Windows);
    const auto product = PathRules::Join(directory, std::wstring(L"vantrelz.bim"), Style::Windows);
    const auto applicationName = PathRules::NativeForm(product, Style::Windows);
    EXPECT_EQ(applicationName, c.applicationName);
    EXPECT_EQ(PathRules::DirectoryOf(applicationName, Style::Windows), c.workingDirectory);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, WindowsProductPath,
    testing::Values(
        ProductPathCase{L"C:\\Program Files\\Vantrel\\launcher.exe", L"C:\\Program Files\\Vantrel\\vantrelz.bim",
                        L"C:\\Program Files\\Vantrel\\"},
        ProductPathCase{L"D:\\launcher.exe", L"D:\\vantrelz.bim", L"D:\\"},
        ProductPathCase{L"\\\\server\\share\\apps\\launcher.exe", L"\\\\server\\share\\apps\\vantrelz.bim",
                        L"\\\\server\\share\\apps\\"},
        // Doubled separators after a root collapse; later ones are kept.
        ProductPathCase{L"C:\\\\dir\\\\launcher.exe", L"C:\\dir\\\\vantrelz.bim", L"C:\\dir\\\\"}));

struct RuleCase {
    const wchar_t* input;
    const wchar_t* expected;
};

TEST(PathRules, RemoveFileNameWindows)
{
    const RuleCase cases[] = {
        {L"C:/a/b.exe", L"C:/a/"}, {L"C:b.exe", L"C:"}, {L"C:", L"C:"}, {L"b.exe", L""}, {L"", L""}, {L"/", L"/"}};
    for (const RuleCase& c : cases)
        EXPECT_EQ(PathRules::RemoveFileName<wchar_t>(c.input, Style::Windows), c.expected) << c.input;
}

TEST(PathRules, JoinWindows)
{
    struct JoinCase {
        const wchar_t* directory;
        const wchar_t* name;
        const wchar_t* expected;
    };
    const JoinCase cases[] = {
        {L"C:/a", L"x", L"C:/a/x"},       {L"C:/a/", L"x", L"C:/a/x"}, {L"C:", L"x", L"C:x"},
        {L"C:/a", L"\\x", L"C:/a/x"},     {L"C:/a", L"/x", L"C:/a/x"}, {L"", L"x", L"x"},
        {L"C:/a", L"", L"C:/a"},          {L"C:/a", L"b\\x", L"C:/a/b/x"}};
    for (const JoinCase& c : cases)
        EXPECT_EQ(PathRules::Join<wchar_t>(c.directory, c.name, Style::Windows), c.expected) << c.directory;
}

TEST(PathRules, PosixKeepsBackslashesAndColons)
{
    const std::string executable = "/opt/a\\b:c/launcher";
    EXPECT_EQ(PathRules::GenericForm(executable, Style::Posix), executable);
    EXPECT_EQ(PathRules::RemoveFileName(executable, Style::Posix), "/opt/a\\b:c/");
    EXPECT_EQ(PathRules::RemoveFileName(std::string("a:b"), Style::Posix), "");
    EXPECT_EQ(PathRules::Join(std::string("/opt/x:"), std::string("\\p"), Style::Posix), "/opt/x:/\\p");
    EXPECT_EQ(PathRules::NativeForm(std::string("//srv//x/"), Style::Posix), "//srv//x/");
}

// A system call that writes as much of the path as fits, recording the
// buffer sizes it was given.
struct PathReader {
    Platform::NativeString whole;
    std::vector<std::size_t> sizes;
    std::size_t operator()(Platform::PathChar* buffer, std::size_t size)
    {
        sizes.push_back(size);
        const std::size_t n = std::min(size, whole.size());
        whole.copy(buffer, n);
        return n;
    }
};

TEST(PathHelpers, ModuleFileNameBufferGrowsBy260UntilThePathFits)
{
    const struct {
        std::size_t length;
        std::vector<std::size_t> sizes;
    } cases[] = {{10, {260}}, {259, {260}}, {260, {260, 520}}, {710, {260, 520, 780}}};
    for (const auto& c : cases) {
        PathReader reader{Platform::NativeString(c.length, 'd'), {}};
        EXPECT_EQ(PathHelpers::ReadModuleFileName(std::ref(reader)), reader.whole);
        EXPECT_EQ(reader.sizes, c.sizes) << c.length;
    }
}

TEST(PathHelpers, NoPathThrowsTheRuntimeError)
{
    try {
        PathHelpers::ReadModuleFileName([](Platform::PathChar*, std::size_t) { return std::size_t{0}; });
        FAIL() << "no exception";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "PathHelpers::GetModuleFileName fail");
    }
}

}  // namespace
