// The whole run: the real launcher against the stand-in version service on
// its built-in endpoint, on a private display, with a recording opener.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <thread>

#include "support/BoxReport.h"
#include "support/Display.h"
#include "support/LoopbackServer.h"
#include "support/RecordingOpener.h"
#include "support/Certificates.h"
#include "support/LoopbackServer.h"
#include "support/StandInService.h"
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
    }

    // The stand-in service on the built-in endpoint.
    void StartService(std::vector<std::string> options)
    {
        service.reset();
        service = std::make_unique<TestSupport::StandInService>(binDir, std::move(options), ServiceEndpoint::port);
    }

    // Starts the launcher with two arguments; display: run on the private one.
    void StartLauncher(bool withDisplay = true)
    {
        TestSupport::ProcessOptions options = display.Options();
        if (!withDisplay)
            options.environment["DISPLAY"] = std::nullopt;
        StartLauncherWith(options);
    }

    // The same in the environment of options, from another copy of the
    // launcher, or after shell commands (a ulimit, say).
    void StartLauncherWith(TestSupport::ProcessOptions options, const std::string& launcherPath = binDir + "/vantrelzip",
                           const std::string& shellFirst = "")
    {
        options.environment["VANTRELZ_DIALOG_REPORT"] = BoxReport();
        options.environment["VANTRELZ_STANDIN_REPORT"] = ProductReport();
        options.environment["PATH"] = opener.Path();
        launcher = std::make_unique<BackgroundProcess>(
            std::vector<std::string>{"sh", "-c", shellFirst + "\"$0\" \"$@\"; echo \"exit $?\"", launcherPath,
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
    std::string Opened() const { return opener.Record(); }

    bool BoxShown(std::chrono::milliseconds timeout = 10s) { return TestSupport::WaitForFile(BoxReport(), timeout); }

    void ExpectProductStarted(const std::string& folder = binDir)
    {
        ASSERT_TRUE(TestSupport::WaitForFile(ProductReport(), 5s));
        const std::string report = TestSupport::ReadFile(ProductReport());
        EXPECT_NE(report.find("\"" + folder + "/vantrelz.bim\", \"--open\", \"Quarterly report.vz\"]"),
                  std::string::npos)
            << report;
    }

    // A folder holding the launcher and the product, and the helper if given.
    std::string CopyOfTheLauncher(const std::optional<std::string>& helperContent)
    {
        namespace fs = std::filesystem;
        const std::string folder = work.path() + "/copy";
        fs::remove_all(folder);
        fs::create_directories(folder);
        fs::copy_file(binDir + "/vantrelzip", folder + "/vantrelzip");
        fs::copy_file(binDir + "/vantrelz.bim", folder + "/vantrelz.bim");
        if (helperContent)
            TestSupport::WriteFile(folder + "/vantrelz-box", *helperContent, true);
        return folder;
    }

    // Clicks the box's button with this label.
    void ClickButton(const std::string& label) { ClickButtonOn(display, label, false); }

    // Clicks on that display. centred: the compositor centres the window,
    // so it is where the box asked to be (on Wayland a window does not know
    // its own place on screen).
    void ClickButtonOn(const TestSupport::PrivateDisplay& screen, const std::string& label, bool centred)
    {
        const TestSupport::BoxReport box = TestSupport::ParseBoxReport(BoxJson());
        const TestSupport::ButtonReport& button = box.Button(label);
        const int x = (centred ? box.requested[0] : box.x) + button.x + button.width / 2;
        const int y = (centred ? box.requested[1] : box.y) + button.y + button.height / 2;
        screen.Run({"xdotool", "mousemove", std::to_string(x), std::to_string(y), "sleep", "0.1", "click", "1"});
    }

    std::string BoxJson() const { return TestSupport::ReadFile(BoxReport()); }

    // Runs one more prompt and presses Download: the opener's record must
    // then hold that address alone, so nothing before it opened anything
    // (the opener runs in the background, so a wrong open shows up in its
    // record before this one's).
    void ExpectOnlyTheNextDownloadOpened()
    {
        StartService({"--release", "1.1.1.2", "--url", downloadUrl});
        std::filesystem::remove(BoxReport());
        StartLauncher();
        ASSERT_TRUE(BoxShown());
        ClickButton("Download");
        EXPECT_EQ(ExitCode(), 0);
        ASSERT_TRUE(TestSupport::WaitForFile(Opened(), 5s));
        EXPECT_EQ(TestSupport::ReadFile(Opened()), downloadUrl + "\n");
    }

    TestSupport::PrivateDisplay display;
    TestSupport::TempDir work;
    TestSupport::RecordingOpener opener;
    std::unique_ptr<TestSupport::StandInService> service;
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
    ExpectOnlyTheNextDownloadOpened();
}

TEST_F(EndToEnd, AForgedAddressIsNotOpened)
{
    StartService({"--release", "1.1.1.2", "--url", "file:///etc/passwd"});
    StartLauncher();
    ASSERT_TRUE(BoxShown());
    ClickButton("Download");
    EXPECT_EQ(ExitCode(), 0);
    ExpectProductStarted();
    ExpectOnlyTheNextDownloadOpened();
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

TEST_F(EndToEnd, AMissingOrBrokenBoxHelperCostsTheBoxButNotTheProduct)
{
    const std::string helper = TestSupport::ReadFile(binDir + "/vantrelz-box");
    const struct Case {
        const char* name;
        std::optional<std::string> helper;
    } cases[] = {
        {"missing", std::nullopt},
        {"empty", std::string()},
        {"truncated", helper.substr(0, 64 * 1024)},  // its headers and the start of its code
        {"crashing", std::string("#!/bin/sh\nkill -SEGV $$\n")},
        {"exiting as GTK does when its display goes", std::string("#!/bin/sh\necho shown; exit 1\n")},
        {"answering nonsense", std::string("#!/bin/sh\necho shown; echo result x; echo result; exit 0\n")},
    };
    StartService({"--release", "1.1.1.2", "--url", downloadUrl});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(ProductReport());
        std::filesystem::remove(BoxReport());
        const std::string folder = CopyOfTheLauncher(c.helper);
        StartLauncherWith(display.Options(), folder + "/vantrelzip");
        EXPECT_EQ(ExitCode(), 0);
        ExpectProductStarted(folder);
        EXPECT_FALSE(std::filesystem::exists(BoxReport()));
    }
}

TEST_F(EndToEnd, TheXServerEndingUnderThePromptStillStartsTheProduct)
{
    StartService({"--release", "1.1.1.2", "--url", downloadUrl});
    StartLauncher();
    ASSERT_TRUE(BoxShown());
    display.Stop();
    EXPECT_EQ(ExitCode(5s), 0);
    ExpectProductStarted();
}

// A display server that accepts the connection and never answers: a stale
// forwarded X display, a frozen compositor.
TEST_F(EndToEnd, ADisplayThatNeverAnswersIsGivenUpAfterTenSeconds)
{
    TestSupport::SilentListener x11(TestSupport::SilentListener::Tcp, "127.0.0.1", 6100, 6999);
    TestSupport::SilentListener wayland(TestSupport::SilentListener::Unix, work.path() + "/wayland-silent");
    const struct Case {
        const char* name;
        std::map<std::string, std::optional<std::string>> environment;
    } cases[] = {
        {"x11", {{"DISPLAY", "127.0.0.1:" + std::to_string(x11.port() - 6000)}}},
        {"wayland",
         {{"DISPLAY", std::nullopt},
          {"GDK_BACKEND", std::nullopt},
          {"XDG_RUNTIME_DIR", work.path()},
          {"WAYLAND_DISPLAY", "wayland-silent"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(ProductReport());
        TestSupport::ProcessOptions options = display.Options();
        for (const auto& [name, value] : c.environment)
            options.environment[name] = value;
        const auto start = std::chrono::steady_clock::now();
        StartLauncherWith(options);  // the service is down: the error box is due
        EXPECT_EQ(ExitCode(30s), 0);
        EXPECT_GE(std::chrono::steady_clock::now() - start, 9500ms);
        ExpectProductStarted();
    }
}

TEST_F(EndToEnd, AHostileReplyOrFewDescriptorsStillStartTheProduct)
{
    // A chunk-size line longer than the client holds, as a broken proxy may send.
    TestSupport::WriteFile(work.path() + "/reply", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10;x=" +
                                                       std::string(70000, 'a') + "\r\n");
    StartService({"--reply-file", work.path() + "/reply"});
    StartLauncher();
    ASSERT_TRUE(BoxShown());
    EXPECT_NE(BoxJson().find("\"label\": \"Close\""), std::string::npos) << BoxJson();
    ClickButton("Close");
    EXPECT_EQ(ExitCode(), 0);
    ExpectProductStarted();

#ifndef __SANITIZE_ADDRESS__
    // The sanitizers' runtime itself needs descriptors: only a plain build
    // can run with four.
    for (const bool withDisplay : {false, true}) {
        SCOPED_TRACE(withDisplay ? "four descriptors, a display" : "four descriptors");
        std::filesystem::remove(ProductReport());
        TestSupport::ProcessOptions options = display.Options();
        if (!withDisplay)
            options.environment["DISPLAY"] = std::nullopt;
        StartLauncherWith(options, binDir + "/vantrelzip", "ulimit -n 4; ");
        EXPECT_EQ(ExitCode(), 0);
        ExpectProductStarted();
    }
#endif
}

TEST_F(EndToEnd, WithoutASessionBusTheBoxLeavesNothingRunning)
{
    StartService({"--release", "1.1.1.2", "--url", downloadUrl});
    TestSupport::ProcessOptions options = display.Options();
    options.environment["DBUS_SESSION_BUS_ADDRESS"] = std::nullopt;
    options.environment["NO_AT_BRIDGE"] = std::nullopt;
    StartLauncherWith(options);
    ASSERT_TRUE(BoxShown());
    display.Run({"xdotool", "key", "Escape"});
    EXPECT_EQ(ExitCode(), 0);
    ExpectProductStarted();
    // Whatever the run started on this display has ended: no bus, no
    // accessibility daemons, no helper.
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    std::vector<int> left;
    do {
        left = TestSupport::ProcessesWithEnvironment("DISPLAY=" + display.name());
    } while (!left.empty() && std::chrono::steady_clock::now() < deadline &&
             (std::this_thread::sleep_for(50ms), true));
    EXPECT_TRUE(left.empty()) << TestSupport::CommandLines(left);
}

// A launcher built for https://localhost:8532/Service.asmx against the
// stand-in service serving TLS with throwaway certificates: a server it can
// verify gets the question, any other one the error box, and the product
// starts whatever happens.
class OverHttps : public EndToEnd {
protected:
    static constexpr unsigned short port = 8532;
    const std::string folder = binDir + "/https";

    void ServeTls(const std::string& certificate)
    {
        service.reset();
        service = std::make_unique<TestSupport::StandInService>(
            binDir,
            std::vector<std::string>{"--https", "--cert", certificates.Certificate(certificate), "--key",
                                     certificates.Key(certificate), "--release", "1.1.1.2", "--url", downloadUrl},
            port);
    }

    void StartHttpsLauncher()
    {
        std::filesystem::remove(BoxReport());
        std::filesystem::remove(ProductReport());
        TestSupport::ProcessOptions options = display.Options();
        options.environment["SSL_CERT_FILE"] = certificates.Authority();
        options.environment["SSL_CERT_DIR"] = work.path();
        options.environment["https_proxy"] = std::nullopt;
        options.environment["HTTPS_PROXY"] = std::nullopt;
        StartLauncherWith(options, folder + "/vantrelzip");
    }

    TestSupport::ThrowawayCertificates certificates;
};

TEST_F(OverHttps, AVerifiedServerGetsThePrompt)
{
    ServeTls("trusted");
    StartHttpsLauncher();
    ASSERT_TRUE(BoxShown());
    EXPECT_NE(BoxJson().find("\"label\": \"Download\""), std::string::npos) << BoxJson();
    ClickButton("Download");
    EXPECT_EQ(ExitCode(), 0);
    ExpectProductStarted(folder);
    ASSERT_TRUE(TestSupport::WaitForFile(Opened(), 5s));
    EXPECT_EQ(TestSupport::ReadFile(Opened()), downloadUrl + "\n");
}

TEST_F(OverHttps, AServerThatFailsVerificationOrTlsGetsTheErrorBox)
{
    for (const char* certificate : {"self-signed", "expired", "other-host", ""}) {
        SCOPED_TRACE(*certificate ? certificate : "no TLS spoken");
        std::unique_ptr<TestSupport::LoopbackServer> mute;
        if (*certificate) {
            ServeTls(certificate);
        } else {
            service.reset();
            mute = std::make_unique<TestSupport::LoopbackServer>(
                [](int fd) { TestSupport::LoopbackServer::WaitForClose(fd, 10000); }, port);
        }
        StartHttpsLauncher();
        ASSERT_TRUE(BoxShown());
        EXPECT_EQ(BoxJson().find("Download"), std::string::npos) << BoxJson();
        ClickButton("Close");
        EXPECT_EQ(ExitCode(), 0);
        ExpectProductStarted(folder);
    }
}

// The prompt in a Wayland session, through GDK's Wayland backend.
class OnWayland : public EndToEnd {
protected:
    TestSupport::PrivateWayland wayland;
};

TEST_F(OnWayland, ThePromptOpensTheDownloadOnClickAndTheProductStarts)
{
    StartService({"--release", "1.1.1.2", "--url", downloadUrl});
    // A GNOME session sets both; GDK takes Wayland first.
    for (const bool withX11Too : {false, true}) {
        SCOPED_TRACE(withX11Too ? "DISPLAY and WAYLAND_DISPLAY" : "WAYLAND_DISPLAY");
        std::filesystem::remove(BoxReport());
        std::filesystem::remove(ProductReport());
        std::filesystem::remove(Opened());
        TestSupport::ProcessOptions options = wayland.Options();
        if (withX11Too)
            options.environment["DISPLAY"] = wayland.display().name();
        StartLauncherWith(options);
        // Clicks count once the compositor has placed the box and given it
        // the input.
        ASSERT_TRUE(TestSupport::WaitForFile(BoxReport(), 10s, "\"focused\": true"));
        const TestSupport::BoxReport box = TestSupport::ParseBoxReport(BoxJson());
        EXPECT_EQ(box.backend, "wayland");
        ASSERT_EQ(box.buttons.size(), 2u);
        EXPECT_EQ(box.buttons[0].label, "Download");
        // weston may route a click that comes while it is busy placing the
        // box to nowhere; a click that closed nothing is sent once more.
        ClickButtonOn(wayland.display(), "Download", true);
        std::optional<int> exitCode = ExitCode(5s);
        if (!exitCode) {
            ClickButtonOn(wayland.display(), "Download", true);
            exitCode = ExitCode();
        }
        EXPECT_EQ(exitCode, 0);
        ExpectProductStarted();
        ASSERT_TRUE(TestSupport::WaitForFile(Opened(), 5s));
        EXPECT_EQ(TestSupport::ReadFile(Opened()), downloadUrl + "\n");
    }
}

TEST(OnWaylandDesktop, KeysWorkWhereverTheCompositorPutsTheBox)
{
    // The desktop shell places windows as it likes; keys reach the box all
    // the same: Escape, Return on the first button, Tab, mnemonics.
    TestSupport::PrivateWayland wayland(TestSupport::PrivateWayland::Shell::Desktop);
    TestSupport::TempDir work;
    const auto show = [&](const std::vector<std::string>& keys) {
        TestSupport::ProcessOptions options = wayland.Options();
        options.environment["VANTRELZ_DIALOG_REPORT"] = work.path() + "/box.json";
        std::filesystem::remove(work.path() + "/box.json");
        BackgroundProcess probe({binDir + "/message_box_probe", "--text", "Keys",
                                 "--icon", "3", "--button", "&Yes=6", "--button", "No=7"},
                                options);
        // Keys count once the compositor has given the box the keyboard.
        EXPECT_TRUE(TestSupport::WaitForFile(work.path() + "/box.json", 10s, "\"focused\": true"));
        EXPECT_EQ(TestSupport::ParseBoxReport(TestSupport::ReadFile(work.path() + "/box.json")).backend, "wayland");
        // weston's X window may take its first keys before it has the X
        // focus for real: keys that changed nothing are sent once more.
        for (int attempt = 0; attempt < 2; ++attempt) {
            for (const std::string& key : keys)
                wayland.Input({"key", key});
            if (const auto line = probe.ReadLine(attempt == 0 ? 3s : 10s))
                return line;
        }
        return std::optional<std::string>();
    };
    EXPECT_EQ(show({"Escape"}), "result 2");
    EXPECT_EQ(show({"Return"}), "result 6");
    EXPECT_EQ(show({"Tab", "Return"}), "result 7");
    EXPECT_EQ(show({"alt+y"}), "result 6");
}

}  // namespace
