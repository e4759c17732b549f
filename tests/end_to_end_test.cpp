// The whole run: the real launcher against the stand-in version service on
// its built-in endpoint, on a private display, with a recording opener.

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "support/Display.h"
#include "update/ServiceEndpoint.h"

namespace {

using namespace std::chrono_literals;
using TestSupport::BackgroundProcess;

const std::string binDir = VANTRELZ_BIN_DIR;
const std::string downloadUrl = "http://127.0.0.1:8531/download/vantrelz-1.1.1.2.exe";

class EndToEnd : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::string(ServiceEndpoint::host) != "127.0.0.1")
            GTEST_SKIP() << "the built-in endpoint " << ServiceEndpoint::url << " is not on this machine";
        TestSupport::WriteFile(tools.path() + "/xdg-open",
                               "#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" + Opened() + "'\n", true);
    }

    void StartService(std::vector<std::string> options)
    {
        options.insert(options.begin(),
                       {binDir + "/vantrelz-version-service", "--port", std::to_string(ServiceEndpoint::port)});
        service = std::make_unique<BackgroundProcess>(options);
        const auto line = service->ReadLine(5s);
        ASSERT_TRUE(line && line->find("listening") != std::string::npos)
            << "the stand-in service could not listen on port " << ServiceEndpoint::port;
    }

    // Starts the launcher with two arguments; display: run on the private one.
    void StartLauncher(bool withDisplay = true)
    {
        TestSupport::ProcessOptions options = display.Options();
        if (!withDisplay)
            options.environment["DISPLAY"] = std::nullopt;
        options.environment["VANTRELZ_DIALOG_REPORT"] = BoxReport();
        options.environment["VANTRELZ_STANDIN_REPORT"] = ProductReport();
        const char* path = std::getenv("PATH");
        options.environment["PATH"] = tools.path() + ":" + (path ? path : "/usr/bin:/bin");
        launcher = std::make_unique<BackgroundProcess>(
            std::vector<std::string>{"sh", "-c", "\"$0\" \"$@\"; echo \"exit $?\"", binDir + "/vantrelzip",
                                     "--open", "Quarterly report.vz"},
            options);
    }

    // The launcher's exit code, read from the shell around it.
    std::optional<int> ExitCode(std::chrono::milliseconds timeout = 10s)
    {
        while (const auto line = launcher->ReadLine(timeout)) {
            if (line->rfind("exit ", 0) == 0)
                return std::stoi(line->substr(5));
        }
        return std::nullopt;
    }

    std::string BoxReport() const { return work.path() + "/box.json"; }
    std::string ProductReport() const { return work.path() + "/product.json"; }
    std::string Opened() const { return tools.path() + "/opened"; }

    bool BoxShown(std::chrono::milliseconds timeout = 10s) { return TestSupport::WaitForFile(BoxReport(), timeout); }

    void ExpectProductStarted()
    {
        ASSERT_TRUE(TestSupport::WaitForFile(ProductReport(), 5s));
        const std::string report = TestSupport::ReadFile(ProductReport());
        EXPECT_NE(report.find("\"" + binDir + "/vantrelz.bim\", \"--open\", \"Quarterly report.vz\"]"),
                  std::string::npos)
            << report;
    }

    // Clicks the box's button with this label.
    void ClickButton(const std::string& label)
    {
        const std::string json = TestSupport::ReadFile(BoxReport());
        const auto at = json.find("\"label\": \"" + label + "\"");
        ASSERT_NE(at, std::string::npos) << json;
        const auto field = [&](const std::string& text, std::size_t from, const std::string& key) {
            const auto k = text.find("\"" + key + "\": ", from);
            return std::stoi(text.substr(k + key.size() + 4));
        };
        const int x = field(json, 0, "x") + field(json, at, "x") + field(json, at, "width") / 2;
        const int y = field(json, 0, "y") + field(json, at, "y") + field(json, at, "height") / 2;
        display.Run({"xdotool", "mousemove", std::to_string(x), std::to_string(y), "sleep", "0.1", "click", "1"});
    }

    std::string BoxJson() const { return TestSupport::ReadFile(BoxReport()); }

    TestSupport::PrivateDisplay display;
    TestSupport::TempDir work;
    TestSupport::TempDir tools;
    std::unique_ptr<BackgroundProcess> service;
    std::unique_ptr<BackgroundProcess> launcher;
};

TEST_F(EndToEnd, ANewerBuildIsOfferedAndDownloadOpensItsAddressThenTheProductStarts)
{
    StartService({"--release", "1.1.1.2", "--url", downloadUrl});
    StartLauncher();
    ASSERT_TRUE(BoxShown());
    const std::string box = BoxJson();
    EXPECT_NE(box.find("\"title\": \"\""), std::string::npos) << box;
    EXPECT_NE(box.find("\"label\": \"Download\""), std::string::npos);
    EXPECT_NE(box.find("\"label\": \"No\""), std::string::npos);
    // The product waits for the answer.
    EXPECT_FALSE(TestSupport::WaitForFile(ProductReport(), 300ms));
    ClickButton("Download");
    EXPECT_EQ(ExitCode(), 0);
    ExpectProductStarted();
    ASSERT_TRUE(TestSupport::WaitForFile(Opened(), 5s));
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(TestSupport::ReadFile(Opened()), downloadUrl + "\n");
}

TEST_F(EndToEnd, NoOrEscapeOpensNothingAndTheProductStarts)
{
    StartService({"--release", "1.1.1.2", "--url", downloadUrl});
    for (const bool escape : {false, true}) {
        std::filesystem::remove(BoxReport());
        std::filesystem::remove(ProductReport());
        StartLauncher();
        ASSERT_TRUE(BoxShown());
        if (escape)
            display.Run({"xdotool", "key", "Escape"});
        else
            ClickButton("No");
        EXPECT_EQ(ExitCode(), 0);
        ExpectProductStarted();
    }
    std::this_thread::sleep_for(200ms);
    EXPECT_FALSE(std::filesystem::exists(Opened()));
}

TEST_F(EndToEnd, AForgedAddressIsNotOpened)
{
    StartService({"--release", "1.1.1.2", "--url", "file:///etc/passwd"});
    StartLauncher();
    ASSERT_TRUE(BoxShown());
    ClickButton("Download");
    EXPECT_EQ(ExitCode(), 0);
    ExpectProductStarted();
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(std::filesystem::exists(Opened()));
}

TEST_F(EndToEnd, AFailedServiceCallShowsTheErrorBoxThenTheProductStarts)
{
    struct Case {
        const char* name;
        std::vector<std::string> service;  // empty: no service at all
    };
    for (const Case& c : {Case{"down", {}}, Case{"status 500", {"--status", "500", "--release", "1.1.1.2"}},
                          Case{"silent", {"--silent"}}}) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(BoxReport());
        std::filesystem::remove(ProductReport());
        service.reset();
        if (!c.service.empty())
            StartService(c.service);
        StartLauncher();
        ASSERT_TRUE(BoxShown());
        const std::string box = BoxJson();
        EXPECT_NE(box.find("\"label\": \"Close\""), std::string::npos) << box;
        EXPECT_EQ(box.find("Download"), std::string::npos);
        ClickButton("Close");
        EXPECT_EQ(ExitCode(), 0);
        ExpectProductStarted();
    }
}

TEST_F(EndToEnd, NothingToOfferShowsNoWindowAtAll)
{
    TestSupport::WriteFile(work.path() + "/no-tags.xml",
                           "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
                           "<GetVersionInfoResponse xmlns=\"http://tempuri.org/\"><GetVersionInfoResult>"
                           "The latest release is 1.1.1.9</GetVersionInfoResult></GetVersionInfoResponse>"
                           "</soap:Body></soap:Envelope>");
    for (const auto& options : std::vector<std::vector<std::string>>{
             {"--release", "1.1.1.0", "--url", downloadUrl},
             {"--release", "2.0.0.0", "--url", downloadUrl},
             {"--body-file", work.path() + "/no-tags.xml"}}) {
        SCOPED_TRACE(options[1]);
        std::filesystem::remove(ProductReport());
        service.reset();
        StartService(options);
        StartLauncher();
        EXPECT_EQ(ExitCode(), 0);
        ExpectProductStarted();
        EXPECT_FALSE(std::filesystem::exists(BoxReport()));
    }
}

TEST_F(EndToEnd, WithoutADisplayTheProductStillStarts)
{
    StartService({"--release", "1.1.1.2", "--url", downloadUrl});
    StartLauncher(false);
    EXPECT_EQ(ExitCode(), 0);
    ExpectProductStarted();
    EXPECT_FALSE(std::filesystem::exists(BoxReport()));
}

TEST_F(EndToEnd, WithoutTheMessageBoxModuleTheProductStillStarts)
{
    namespace fs = std::filesystem;
    const std::string folder = work.path() + "/bare";
    fs::create_directories(folder);
    fs::copy_file(binDir + "/vantrelzip", folder + "/vantrelzip");
    fs::copy_file(binDir + "/vantrelz.bim", folder + "/vantrelz.bim");
    StartService({"--release", "1.1.1.2", "--url", downloadUrl});
    auto options = display.Options();
    options.environment["VANTRELZ_STANDIN_REPORT"] = ProductReport();
    const auto run = TestSupport::RunProcess({folder + "/vantrelzip", "x"}, options);
    EXPECT_EQ(run.exitCode, 0);
    ASSERT_TRUE(TestSupport::WaitForFile(ProductReport(), 5s));
    EXPECT_LT(run.elapsed, 1000ms);
}

}  // namespace
