// The Windows builds under Wine against the stand-in service on 127.0.0.1:
// WinINet's request on the wire, its bounds, the reply through MSXML, and a
// whole run of the real vantrelzip.exe. scripts/test --windows prepares the
// Wine prefix (WINEPREFIX) and its display (VANTRELZ_WINE_DISPLAY).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

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

    // One call of the Windows client against the service on this port.
    ProbeResult Probe(unsigned short port) const
    {
        const auto run = TestSupport::RunProcess({"wine", GetParam() + "/service_probe.exe", std::to_string(port)},
                                                 WineOptions());
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

INSTANTIATE_TEST_SUITE_P(Builds, UnderWine, testing::ValuesIn(WindowsBinDirs()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             return std::filesystem::path(info.param).parent_path().filename().string() ==
                                            "build-windows-i686"
                                        ? std::string("i686")
                                        : std::string("x86_64");
                         });

}  // namespace
