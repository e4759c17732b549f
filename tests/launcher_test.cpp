// The real launcher binary, copied into temporary folders, starting the real
// stand-in product.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "support/Process.h"

namespace {

using namespace std::chrono_literals;
using TestSupport::ProcessOptions;
using TestSupport::RunProcess;

const std::string binDir = VANTRELZ_BIN_DIR;

// Runs without a display, so that no box can appear whatever the version
// service on this machine says.
ProcessOptions Options(const std::string& workingDirectory, const std::string& report)
{
    ProcessOptions options;
    options.workingDirectory = workingDirectory;
    options.environment["DISPLAY"] = std::nullopt;
    options.environment["WAYLAND_DISPLAY"] = std::nullopt;
    options.environment["VANTRELZ_STANDIN_REPORT"] = report;
    options.timeout = 15s;
    return options;
}

void Install(const std::string& folder, bool withProduct)
{
    namespace fs = std::filesystem;
    fs::create_directories(folder);
    fs::copy_file(binDir + "/vantrelzip", folder + "/vantrelzip");
    if (withProduct)
        fs::copy_file(binDir + "/vantrelz.bim", folder + "/vantrelz.bim");
}

TEST(Launcher, StartsTheProductBesideItselfWithItsArgumentsByteForByte)
{
    TestSupport::TempDir root;
    std::string folder = root.path() + "/Vantrel folder with blanks";
    while (folder.size() <= 300)
        folder += "/and a rather long  name";
    Install(folder, true);
    const std::string elsewhere = root.path() + "/elsewhere";
    std::filesystem::create_directories(elsewhere);
    const std::string report = root.path() + "/report.json";

    // Descriptor 7 is open in the launcher; the product must not inherit it.
    const std::vector<std::string> argv = {
        "sh", "-c", "exec 7</dev/null; exec \"$0\" \"$@\"", folder + "/vantrelzip",
        "plain", "two  blanks", "", "\"quoted\"", "tab\there", "\xff\xfe raw", "back\\slash", "-x"};
    const auto result = RunProcess(argv, Options(elsewhere, report));
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    ASSERT_TRUE(TestSupport::WaitForFile(report, 5s));

    const std::string expected = "{\"argv\": [\"" + folder +
                                 "/vantrelz.bim\", \"plain\", \"two  blanks\", \"\", \"\\\"quoted\\\"\", "
                                 "\"tab\\u0009here\", \"\\udcff\\udcfe raw\", \"back\\\\slash\", \"-x\"], "
                                 "\"cwd\": \"" + folder + "\", \"open_fds\": [0, 1, 2]}\n";
    EXPECT_EQ(TestSupport::ReadFile(report), expected);
}

TEST(Launcher, WithoutArgumentsTheProductGetsOnlyItsPath)
{
    TestSupport::TempDir root;
    Install(root.path() + "/app", true);
    const std::string report = root.path() + "/report.json";
    const auto result = RunProcess({root.path() + "/app/vantrelzip"}, Options("/", report));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    ASSERT_TRUE(TestSupport::WaitForFile(report, 5s));
    EXPECT_EQ(TestSupport::ReadFile(report), "{\"argv\": [\"" + root.path() + "/app/vantrelz.bim\"], \"cwd\": \"" +
                                                 root.path() + "/app\", \"open_fds\": [0, 1, 2]}\n");
}

TEST(Launcher, AMissingOrUnusableProductEndsQuietly)
{
    TestSupport::TempDir root;
    const std::string folder = root.path() + "/app";
    Install(folder, false);
    const std::string report = root.path() + "/report.json";
    for (int attempt = 0; attempt < 2; ++attempt) {
        const auto result = RunProcess({folder + "/vantrelzip", "x"}, Options(root.path(), report));
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "");
        EXPECT_LT(result.elapsed, 2000ms);
    }

    // Present but not executable.
    TestSupport::WriteFile(folder + "/vantrelz.bim", "not a program\n");
    const auto result = RunProcess({folder + "/vantrelzip"}, Options(root.path(), report));
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out + result.err, "");
    EXPECT_FALSE(std::filesystem::exists(report));
}

TEST(Launcher, WithoutItsOwnPathItEndsWithOneLineAndStartsNothing)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer itself cannot run without /proc";
#endif
    TestSupport::TempDir root;
    Install(root.path() + "/app", true);
    const std::string report = root.path() + "/report.json";
    // A mount namespace whose /proc is empty: the executable's path is gone.
    const auto result = RunProcess({"unshare", "-r", "-m", "sh", "-c", "mount -t tmpfs none /proc && exec \"$0\" \"$@\"",
                                    root.path() + "/app/vantrelzip", "x"},
                                   Options(root.path(), report));
    if (result.err.find("unshare") != std::string::npos || result.err.find("mount") != std::string::npos)
        GTEST_SKIP() << "no private mount namespace here: " << result.err;
    EXPECT_NE(result.exitCode, 0);
    EXPECT_EQ(result.err, "vantrelzip: PathHelpers::GetModuleFileName fail\n");
    EXPECT_FALSE(TestSupport::WaitForFile(report, 300ms));
}

}  // namespace
