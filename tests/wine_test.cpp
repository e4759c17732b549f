// The Windows builds under Wine against the stand-in service on 127.0.0.1:
// WinINet's request on the wire, its bounds, the reply through MSXML, and a
// whole run of the real vantrelzip.exe. scripts/test --windows prepares the
// Wine prefix (WINEPREFIX) and its display (VANTRELZ_WINE_DISPLAY).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "support/BoxReport.h"
#include "support/Certificates.h"
#include "support/RecordingOpener.h"
#include "support/StandInService.h"
#include "update/ServiceEndpoint.h"

namespace {

using namespace std::chrono_literals;

const std::string binDir = VANTRELZ_BIN_DIR;

std::vector<std::string> WindowsBinDirs()
{
    std::vector<std::string> dirs;
    std::stringstream list(VANTRELZ_WINDOWS_BIN_DIRS);
    for (std::string dir; std::getline(list, dir, ':');)
        dirs.push_back(dir);
    return dirs;
}

// A Unix path as the Windows side names it.
std::string WindowsPath(const std::string& path)
{
    std::string windows = "Z:" + path;
    std::replace(windows.begin(), windows.end(), '/', '\\');
    return windows;
}

std::string BuildName(const testing::TestParamInfo<std::string>& info)
{
    return std::filesystem::path(info.param).parent_path().filename() == "build-windows-i686" ? "i686" : "x86_64";
}

struct ProbeResult {
    std::string status;
    int elapsedMs = -1;
    std::string result;
};

class UnderWine : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        if (!std::getenv("WINEPREFIX"))
            GTEST_SKIP() << "no Wine prefix: scripts/test --windows runs these";
    }

    TestSupport::ProcessOptions WineOptions(std::chrono::milliseconds timeout = 60s) const
    {
        TestSupport::ProcessOptions options;
        const char* display = std::getenv("VANTRELZ_WINE_DISPLAY");
        options.environment["DISPLAY"] = display ? std::optional<std::string>(display) : std::nullopt;
        options.environment["WAYLAND_DISPLAY"] = std::nullopt;
        options.environment["WINEDEBUG"] = std::string("-all");
        options.timeout = timeout;
        return options;
    }

    // One call of the Windows client against the service on this port:
    // http to 127.0.0.1, or https to secureHost.
    ProbeResult Probe(unsigned short port, const std::string& secureHost = "") const
    {
        std::vector<std::string> command{"wine", GetParam() + "/service_probe.exe", std::to_string(port)};
        if (!secureHost.empty())
            command.insert(command.end(), {"--https", secureHost});
        const auto run = TestSupport::RunProcess(command, WineOptions());
        ProbeResult probe;
        std::stringstream lines(run.out);
        for (std::string line; std::getline(lines, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.rfind("status ", 0) == 0)
                probe.status = line.substr(7);
            else if (line.rfind("elapsed ", 0) == 0)
                probe.elapsedMs = std::stoi(line.substr(8));
            else if (line.rfind("result ", 0) == 0)
                probe.result = line.substr(7);
        }
        return probe;
    }
};

TEST_P(UnderWine, WinInetSendsTheRequestAndMsxmlReadsTheReply)
{
    TestSupport::StandInService service(binDir, {"--print-requests", "--release", "1.1.1.2", "--url",
                                                 "http://127.0.0.1/vz.exe"});
    const ProbeResult probe = Probe(service.port());
    EXPECT_EQ(probe.status, "0x00000000");
    EXPECT_EQ(probe.result, "<main>1</main><minor>1</minor><build1>1</build1><build2>2</build2>"
                            "<url>http://127.0.0.1/vz.exe</url>");

    const std::string request = service.NextRequest(5s);
    const auto header = [&](const std::string& line) { return request.find("\n" + line + "\r\n"); };
    EXPECT_EQ(request.rfind("POST /Service.asmx HTTP/1.0\r\n", 0), 0u) << request;
    // WinINet orders the headers its own way; the two of the request are in
    // their order.
    EXPECT_NE(header("Accept: text/*"), std::string::npos) << request;
    EXPECT_NE(header("User-Agent: VCSoapClient"), std::string::npos) << request;
    EXPECT_NE(header("Content-Length: 351"), std::string::npos) << request;
    const auto soapAction = header("SOAPAction: \"http://tempuri.org/GetVersionInfo\"");
    const auto contentType = header("Content-Type: text/xml; charset=utf-8");
    EXPECT_NE(soapAction, std::string::npos) << request;
    EXPECT_NE(contentType, std::string::npos) << request;
    EXPECT_LT(soapAction, contentType) << request;
    const std::string body =
        "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
        "xmlns:soapenc=\"http://schemas.xmlsoap.org/soap/encoding/\"><soap:Body><GetVersionInfo "
        "xmlns=\"http://tempuri.org/\"><productID>6</productID></GetVersionInfo></soap:Body></soap:Envelope>";
    EXPECT_EQ(request.substr(request.find("\r\n\r\n") + 4), body) << request;
}

TEST_P(UnderWine, AFaultOrAServiceThatNeverAnswersFails)
{
    const struct {
        const char* name;
        std::vector<std::string> options;
        const char* status;
        int atLeastMs;
    } cases[] = {
        {"status 500", {"--status", "500", "--release", "1.1.1.2"}, "0x80040200", 0},
        {"silent", {"--silent"}, "0x80004005", 1900},
        {"unreachable", {"--unreachable"}, "0x80004005", 1900},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestSupport::StandInService service(binDir, c.options);
        const ProbeResult probe = Probe(service.port());
        EXPECT_EQ(probe.status, c.status);
        EXPECT_GE(probe.elapsedMs, c.atLeastMs);
        // The 2 s bounds hold, with room for a loaded machine.
        EXPECT_LT(probe.elapsedMs, 9000);
    }
}

// WinINet verifies the server as a Windows program would, against the
// prefix's trusted roots, where each test puts a throwaway CA of its own.
TEST_P(UnderWine, OverHttpsOnlyAServerTrustedForTheNameAnswers)
{
    const TestSupport::ThrowawayCertificates certificates(TestSupport::ThrowawayCertificates::Keys::Rsa);
    ASSERT_EQ(TestSupport::RunProcess({"wine", GetParam() + "/trust_root.exe", WindowsPath(certificates.Authority())},
                                      WineOptions())
                  .exitCode,
              0);
    const struct {
        const char* certificate;
        bool answers;
    } cases[] = {{"trusted", true}, {"self-signed", false}, {"expired", false}, {"other-host", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.certificate);
        TestSupport::StandInService service(
            binDir, {"--https", "--cert", certificates.Certificate(c.certificate), "--key",
                     certificates.Key(c.certificate), "--release", "1.1.1.2", "--url", "https://localhost/vz.exe"});
        // Wine matches the name against the certificate's DNS names only, so
        // the host is a name here.
        const ProbeResult probe = Probe(service.port(), "localhost");
        SCOPED_TRACE("after " + std::to_string(probe.elapsedMs) + " ms");
        if (c.answers) {
            EXPECT_EQ(probe.status, "0x00000000");
            EXPECT_EQ(probe.result, "<main>1</main><minor>1</minor><build1>1</build1><build2>2</build2>"
                                    "<url>https://localhost/vz.exe</url>");
        } else {
            EXPECT_EQ(probe.status, "0x80004005");
            EXPECT_EQ(probe.result, "");
        }
    }
}

TEST_P(UnderWine, AnUpToDateRunShowsNothingAndStartsTheProduct)
{
    if (std::string(ServiceEndpoint::host) != "127.0.0.1")
        GTEST_SKIP() << "the built-in endpoint " << ServiceEndpoint::url << " is not on this machine";
    TestSupport::StandInService service(binDir, {"--release", "1.1.1.0"}, ServiceEndpoint::port);
    TestSupport::TempDir work;
    const std::string folder = work.path() + "/Vantrel Zip";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(GetParam() + "/vantrelzip.exe", folder + "/vantrelzip.exe");
    std::filesystem::copy_file(GetParam() + "/vantrelz.bim", folder + "/vantrelz.bim");
    auto options = WineOptions();
    options.environment["VANTRELZ_STANDIN_REPORT"] = WindowsPath(work.path() + "/product.json");
    const auto run = TestSupport::RunProcess({"wine", folder + "/vantrelzip.exe", "--open", "a b"}, options);
    EXPECT_EQ(run.exitCode, 0);
    ASSERT_TRUE(TestSupport::WaitForFile(work.path() + "/product.json", 20s));
    const std::string report = TestSupport::ReadFile(work.path() + "/product.json");
    std::string product = WindowsPath(folder + "/vantrelz.bim");
    std::string escaped;
    for (const char c : product)
        escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    EXPECT_NE(report.find("\"command_line\": \"\\\"" + escaped + "\\\" --open \\\"a b\\\"\""), std::string::npos)
        << report;
}

// The message box on Wine's display: the dialog manager, GDI and GDI+.
class BoxUnderWine : public UnderWine {
protected:
    void SetUp() override
    {
        UnderWine::SetUp();
        if (!std::getenv("VANTRELZ_WINE_DISPLAY"))
            GTEST_SKIP() << "no display for Wine";
    }

    TestSupport::ProcessOptions BoxOptions() const
    {
        auto options = WineOptions();
        options.environment["VANTRELZ_DIALOG_REPORT"] = WindowsPath(BoxReportPath());
        // Wine hands web addresses to the desktop's opener: a recording one.
        options.environment["PATH"] = opener.Path();
        return options;
    }

    // Shows a box with the probe; returns its report once it has the keyboard.
    TestSupport::BoxReport Show(std::vector<std::string> arguments)
    {
        std::filesystem::remove(BoxReportPath());
        arguments.insert(arguments.begin(), {"wine", GetParam() + "/message_box_probe.exe"});
        probe = std::make_unique<TestSupport::BackgroundProcess>(arguments, BoxOptions());
        if (!TestSupport::WaitForFile(BoxReportPath(), 30s, "\"focused\": true"))
            throw std::runtime_error("the box did not appear");
        return TestSupport::ParseBoxReport(TestSupport::ReadFile(BoxReportPath()));
    }

    std::optional<int> Result(std::chrono::milliseconds timeout = 10s)
    {
        const auto line = probe->ReadLine(timeout);
        if (!line || line->rfind("result ", 0) != 0)
            return std::nullopt;
        return std::stoi(line->substr(7));
    }

    // Keys go where the pointer is: inside Wine's desktop.
    void Key(const std::string& key) const { Xdotool({"mousemove", "2", "2", "sleep", "0.2", "key", key}); }
    void Click(int x, int y) const
    {
        Xdotool({"mousemove", std::to_string(x), std::to_string(y), "sleep", "0.2", "click", "1"});
    }
    void ClickButton(const TestSupport::BoxReport& box, const std::string& label) const
    {
        const TestSupport::ButtonReport& button = box.Button(label);
        Click(box.x + button.x + button.width / 2, box.y + button.y + button.height / 2);
    }
    void Xdotool(std::vector<std::string> arguments) const
    {
        arguments.insert(arguments.begin(), "xdotool");
        TestSupport::ProcessOptions options;
        options.environment["DISPLAY"] = std::string(std::getenv("VANTRELZ_WINE_DISPLAY"));
        TestSupport::RunProcess(arguments, options);
    }

    std::string BoxReportPath() const { return work.path() + "/box.json"; }
    std::string Opened() const { return opener.Record(); }

    TestSupport::TempDir work;
    TestSupport::RecordingOpener opener;
    std::unique_ptr<TestSupport::BackgroundProcess> probe;
};

const std::vector<std::string> downloadPrompt = {
    "--text", "A new version is available for download.\n\nNote: You do not need to uninstall your\nprevious version before you install this one.",
    "--icon", "4", "--button", "Download=6", "--button", "No=7"};

TEST_P(BoxUnderWine, TheDialogIsWhereTheGeometrySaysInTahoma)
{
    const TestSupport::BoxReport box = Show(downloadPrompt);
    EXPECT_EQ(box.backend, "win32");
    EXPECT_NE(box.json.find("\"face\": \"Tahoma\""), std::string::npos) << box.json;
    EXPECT_NE(box.json.find("\"keep_above\": true"), std::string::npos) << box.json;
    // The window is the computed size, centred on Wine's 800 x 600 desktop.
    EXPECT_EQ(box.requested[2], box.width + box.frame[0] + box.frame[2]);
    EXPECT_EQ(box.requested[3], box.height + box.frame[1] + box.frame[3]);
    EXPECT_EQ(box.requested[0], (800 - box.requested[2]) / 2);
    EXPECT_EQ(box.requested[1], (600 - box.requested[3]) / 2);
    ASSERT_EQ(box.buttons.size(), 2u);
    for (const TestSupport::ButtonReport& b : box.buttons) {
        EXPECT_EQ((std::vector<int>{b.x, b.y, b.width, b.height}), b.requested) << b.label;
        EXPECT_EQ(b.width, 85) << b.label;  // both captions are narrower than the minimum
    }
    EXPECT_EQ(box.buttons[0].label, "Download");
    EXPECT_TRUE(box.buttons[0].focused);
    EXPECT_EQ(box.buttons[1].x - (box.buttons[0].x + 85), 12);
    EXPECT_EQ(box.buttons[0].x, (box.width - 182) / 2);
    EXPECT_EQ(box.buttons[0].y + box.buttons[0].height + 12, box.height);
    Key("Escape");
    EXPECT_EQ(Result(), 2);
}

TEST_P(BoxUnderWine, KeysAndButtonsGiveTheirResults)
{
    Show(downloadPrompt);
    Key("Return");  // the focused first button
    EXPECT_EQ(Result(), 6);
    ClickButton(Show(downloadPrompt), "No");
    EXPECT_EQ(Result(), 7);
    ClickButton(Show({"--text", "Error connection to server.", "--icon", "1", "--standard", "8"}), "Close");
    EXPECT_EQ(Result(), 8);
}

TEST_P(BoxUnderWine, AClickOnALinkOpensItsTargetAndTheBoxStaysOpen)
{
    const TestSupport::BoxReport box =
        Show({"--text", "{hl}Read the release notes{hl=http://example.invalid/notes}", "--button", "OK=1"});
    // The text block starts at (12, 12) without an icon.
    Click(box.x + 12 + 20, box.y + 12 + 5);
    ASSERT_TRUE(TestSupport::WaitForFile(Opened(), 20s));
    EXPECT_EQ(TestSupport::ReadFile(Opened()), "http://example.invalid/notes\n");
    EXPECT_EQ(Result(500ms), std::nullopt);
    Key("Escape");
    EXPECT_EQ(Result(), 2);
}

TEST_P(BoxUnderWine, TheMessageReachesScreenReaders)
{
    Show({"--text", "Read {hl}the notes{hl=http://example.invalid/} first.\nThen decide.", "--icon", "4", "--button",
          "Download=6", "--button", "No=7"});
    // The reader is a 32-bit program for either box: Wine's 64-bit oleacc
    // knows no proxy for the Button and Static classes.
    const auto dirs = WindowsBinDirs();
    const auto i686 = std::find_if(dirs.begin(), dirs.end(), [](const std::string& dir) {
        return std::filesystem::path(dir).parent_path().filename() == "build-windows-i686";
    });
    if (i686 == dirs.end())
        GTEST_SKIP() << "no 32-bit build to read the box with";
    const auto found = TestSupport::RunProcess({"wine", *i686 + "/accessible_probe.exe"}, WineOptions());
    EXPECT_EQ(found.exitCode, 0);
    // The painted text with the link's label and without its markup, and
    // each button by its caption.
    std::string out = found.out;
    out.erase(std::remove(out.begin(), out.end(), '\r'), out.end());
    EXPECT_NE(out.find(" Read the notes first.\nThen decide.\n"), std::string::npos) << out;
    EXPECT_NE(out.find(" Download\n"), std::string::npos) << out;
    EXPECT_NE(out.find(" No\n"), std::string::npos) << out;
    Key("Escape");
    EXPECT_EQ(Result(), 2);
}

// The replies of the Linux end-to-end suite, through the real vantrelzip.exe.
TEST_P(BoxUnderWine, EveryReplyGivesItsBoxOrNoneThenTheProduct)
{
    if (std::string(ServiceEndpoint::host) != "127.0.0.1")
        GTEST_SKIP() << "the built-in endpoint " << ServiceEndpoint::url << " is not on this machine";
    const std::string folder = work.path() + "/Vantrel Zip";
    std::filesystem::create_directories(folder);
    for (const char* file : {"vantrelzip.exe", "vantrelz.bim"})
        std::filesystem::copy_file(GetParam() + "/" + file, folder + "/" + file);
    TestSupport::WriteFile(work.path() + "/no-tags.xml",
                           "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
                           "<GetVersionInfoResponse xmlns=\"http://tempuri.org/\"><GetVersionInfoResult>"
                           "The latest release is 1.1.1.9</GetVersionInfoResult></GetVersionInfoResponse>"
                           "</soap:Body></soap:Envelope>");
    auto options = BoxOptions();
    options.environment["VANTRELZ_STANDIN_REPORT"] = WindowsPath(work.path() + "/product.json");
    const std::string url = "http://127.0.0.1:" + std::to_string(ServiceEndpoint::port) + "/download/vz.exe";
    const struct {
        const char* name;
        std::vector<std::string> service;  // empty: no service at all
        const char* firstButton;           // empty: no box
        const char* keys;
    } cases[] = {
        {"newer, No", {"--release", "1.1.1.2", "--url", url}, "Download", "Tab Return"},
        {"down", {}, "Close", "Return"},
        {"status 500", {"--status", "500", "--release", "1.1.1.2"}, "Close", "Return"},
        {"silent", {"--silent"}, "Close", "Return"},
        {"up to date", {"--release", "1.1.1.0", "--url", url}, "", ""},
        {"other line", {"--release", "2.0.0.0", "--url", url}, "", ""},
        {"no tags", {"--body-file", work.path() + "/no-tags.xml"}, "", ""},
        {"newer, Download", {"--release", "1.1.1.2", "--url", url}, "Download", "Return"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(work.path() + "/product.json");
        std::filesystem::remove(BoxReportPath());
        std::unique_ptr<TestSupport::StandInService> service;
        if (!c.service.empty())
            service = std::make_unique<TestSupport::StandInService>(binDir, c.service, ServiceEndpoint::port);
        TestSupport::BackgroundProcess launcher({"wine", folder + "/vantrelzip.exe", "x"}, options);
        if (*c.firstButton) {
            ASSERT_TRUE(TestSupport::WaitForFile(BoxReportPath(), 30s, "\"focused\": true"));
            const auto box = TestSupport::ParseBoxReport(TestSupport::ReadFile(BoxReportPath()));
            EXPECT_EQ(box.buttons.at(0).label, c.firstButton);
            std::stringstream keys(c.keys);
            for (std::string key; keys >> key;)
                Key(key);
        }
        // The product starts after the box: without one, no box was up.
        ASSERT_TRUE(TestSupport::WaitForFile(work.path() + "/product.json", 30s));
        EXPECT_EQ(std::filesystem::exists(BoxReportPath()), *c.firstButton != '\0');
    }
    // Only the last Download opened anything: its address is the one record.
    ASSERT_TRUE(TestSupport::WaitForFile(Opened(), 20s));
    EXPECT_EQ(TestSupport::ReadFile(Opened()), url + "\n");
}

INSTANTIATE_TEST_SUITE_P(Builds, BoxUnderWine, testing::ValuesIn(WindowsBinDirs()),
                         BuildName);

INSTANTIATE_TEST_SUITE_P(Builds, UnderWine, testing::ValuesIn(WindowsBinDirs()),
                         BuildName);

}  // namespace
