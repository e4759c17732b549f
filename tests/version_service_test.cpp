// The stand-in version service, asked by the real client.

#include <gtest/gtest.h>

#include "support/StandInService.h"
#include "update/ReleaseDescription.h"
#include "update/Service.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const std::string binDir = VANTRELZ_BIN_DIR;

class StandInService : public TestSupport::StandInService {
public:
    explicit StandInService(std::vector<std::string> options) : TestSupport::StandInService(binDir, std::move(options))
    {
    }

    Service::Status Ask(std::optional<std::wstring>& result, std::chrono::milliseconds* elapsed = nullptr)
    {
        Service::CServiceT<> service({"127.0.0.1", port(), "/Service.asmx"});
        service.SetTimeout(2000);
        const auto start = Clock::now();
        const Service::Status status = service.GetVersionInfo(6, &result);
        if (elapsed)
            *elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
        return status;
    }
};

TEST(VersionService, AnnouncesItsReleaseAndAddress)
{
    struct Case {
        const char* release;
        UpdateStatus status;
    };
    for (const Case& c : {Case{"1.1.1.2", NewerAvailable}, Case{"1.1.1.0", UpToDate}, Case{"2.0.0.0", UpToDate},
                          Case{"1.1.1.-1", UpToDate}}) {
        StandInService service({"--release", c.release, "--url", "http://127.0.0.1/get?a=1&b=<2>"});
        std::optional<std::wstring> result;
        ASSERT_EQ(service.Ask(result), Service::statusOk) << c.release;
        ASSERT_TRUE(result);
        const ReleaseDecision decision = DecideRelease(*result);
        EXPECT_EQ(decision.status, c.status) << c.release;
        // The address is sent as escaped text, so its "<" ends the tag text.
        EXPECT_EQ(decision.downloadAddress, L"http://127.0.0.1/get?a=1&b=") << c.release;
    }
}

TEST(VersionService, CanAnswerWithAStatusARawBodyADelayOrSilence)
{
    std::optional<std::wstring> result;
    EXPECT_LT(StandInService({"--status", "500"}).Ask(result), 0);
    EXPECT_EQ(StandInService({"--status", "404"}).Ask(result), Service::statusOk);

    TestSupport::TempDir dir;
    TestSupport::WriteFile(dir.path() + "/page.html", "<html><body>maintenance</body></html>");
    EXPECT_LT(StandInService({"--body-file", dir.path() + "/page.html"}).Ask(result), 0);

    std::chrono::milliseconds elapsed{};
    EXPECT_EQ(StandInService({"--delay-ms", "300"}).Ask(result, &elapsed), Service::statusOk);
    EXPECT_GE(elapsed, 300ms);

    EXPECT_LT(StandInService({"--silent"}).Ask(result, &elapsed), 0);
    EXPECT_GE(elapsed, 1900ms);
    EXPECT_LT(elapsed, 6000ms);
}

TEST(VersionService, PrintsTheRequestsItReceives)
{
    StandInService service({"--print-requests"});
    std::optional<std::wstring> result;
    ASSERT_EQ(service.Ask(result), Service::statusOk);
    const std::string printed = service.NextRequest(2s);
    EXPECT_NE(printed.find("POST /Service.asmx HTTP/1.0"), std::string::npos) << printed;
    EXPECT_NE(printed.find("SOAPAction: \"http://tempuri.org/GetVersionInfo\""), std::string::npos);
    EXPECT_NE(printed.find("<productID>6</productID>"), std::string::npos);
}

TEST(VersionService, RefusesBadOptions)
{
    for (const auto& options : std::vector<std::vector<std::string>>{
             {"--release", "1.2.3"}, {"--port", "x"}, {"--status", "42"}, {"--bogus"}}) {
        std::vector<std::string> argv = {binDir + "/vantrelz-version-service"};
        argv.insert(argv.end(), options.begin(), options.end());
        const auto run = TestSupport::RunProcess(argv, {{}, {}, 5s});
        EXPECT_EQ(run.exitCode, 2) << options[0];
        EXPECT_NE(run.err.find("usage:"), std::string::npos);
    }
}

TEST(VersionService, ServesTheAnnouncedDownloadToABrowser)
{
    StandInService service({"--release", "1.1.1.2", "--url", "http://127.0.0.1/download/vz.exe"});
    const std::string base = "http://127.0.0.1:" + std::to_string(service.port());
    const auto page = TestSupport::RunProcess({"curl", "-s", "-w", " %{http_code}", base + "/download/vz.exe"});
    EXPECT_EQ(page.out, "vantrelz-version-service: here the download of Vantrel Zip 1.1.1.2 would begin.\n 200");
    const auto other = TestSupport::RunProcess({"curl", "-s", "-o", "/dev/null", "-w", "%{http_code}", base + "/x"});
    EXPECT_EQ(other.out, "404");
}

}  // namespace
