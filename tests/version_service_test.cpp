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

// What the stand-in service answers to a hand-written request, through curl.
struct Exchange {
    const char* name;
    std::vector<std::string> headers;
    std::string body;  // empty: GET ?WSDL
    int status;
    std::vector<std::string> answerHolds;
};

const std::string soap11Request =
    "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
    "<GetVersionInfo xmlns=\"http://tempuri.org/\"><productID>PRODUCT</productID></GetVersionInfo>"
    "</soap:Body></soap:Envelope>";

std::string Request(const std::string& product, const std::string& envelope = "http://schemas.xmlsoap.org/soap/envelope/")
{
    std::string request = soap11Request;
    request.replace(request.find("PRODUCT"), 7, product);
    request.replace(request.find("http://schemas.xmlsoap.org/soap/envelope/"), 41, envelope);
    return request;
}

TEST(VersionService, AnswersAsTheAsmxServiceDoes)
{
    const std::string soap11Type = "Content-Type: text/xml; charset=utf-8";
    const std::string rightAction = "SOAPAction: \"http://tempuri.org/GetVersionInfo\"";
    const std::string soap12 = "http://www.w3.org/2003/05/soap-envelope";
    const std::string result = "<GetVersionInfoResult>&lt;main&gt;1&lt;/main&gt;";
    const Exchange exchanges[] = {
        {"SOAP 1.1", {soap11Type, rightAction}, Request("6"), 200, {result}},
        {"another product: a null result", {soap11Type, rightAction}, Request("99"), 200,
         {"<GetVersionInfoResponse xmlns=\"http://tempuri.org/\" />"}},
        {"wrong SOAPAction", {soap11Type, "SOAPAction: \"http://tempuri.org/Other\""}, Request("6"), 500,
         {"<faultcode>soap:Client</faultcode>", "HTTP Header SOAPAction: http://tempuri.org/Other."}},
        {"no SOAPAction", {soap11Type}, Request("6"), 500, {"<faultcode>soap:Client</faultcode>"}},
        {"not XML", {soap11Type, rightAction}, "hello", 500, {"unable to read request"}},
        {"another operation", {soap11Type, rightAction},
         "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\"><soap:Body>"
         "<Other xmlns=\"http://tempuri.org/\"/></soap:Body></soap:Envelope>",
         500, {"request element: http://tempuri.org/ Other."}},
        {"productID not an int", {soap11Type, rightAction}, Request("six"), 500, {"productID is not an int"}},
        {"SOAP 1.2 envelope as SOAP 1.1", {soap11Type, rightAction}, Request("6", soap12), 500,
         {"SOAP version mismatch"}},
        {"SOAP 1.2", {"Content-Type: application/soap+xml; charset=utf-8"}, Request("6", soap12), 200,
         {"<soap:Envelope xmlns:soap=\"" + soap12 + "\"", result}},
        {"SOAP 1.2 fault", {"Content-Type: application/soap+xml; charset=utf-8; action=\"urn:x\""},
         Request("6", soap12), 500, {"<soap:Value>soap:Sender</soap:Value>"}},
        {"WSDL", {}, "", 200,
         {"<wsdl:binding name=\"ServiceSoap\"", "<wsdl:binding name=\"ServiceSoap12\"",
          "soapAction=\"http://tempuri.org/GetVersionInfo\" style=\"document\"", "<soap:body use=\"literal\" />",
          "location=\"http://127.0.0.1:PORT/Service.asmx\""}},
    };
    StandInService service({"--release", "1.1.1.0"});
    const std::string port = std::to_string(service.port());
    for (const Exchange& e : exchanges) {
        SCOPED_TRACE(e.name);
        std::vector<std::string> curl = {"curl", "-s", "-w", "\n%{http_code}"};
        for (const std::string& header : e.headers)
            curl.insert(curl.end(), {"-H", header});
        if (e.body.empty()) {
            curl.push_back("http://127.0.0.1:" + port + "/Service.asmx?wsdl");
        } else {
            curl.insert(curl.end(), {"--data-binary", e.body, "http://127.0.0.1:" + port + "/Service.asmx"});
        }
        const std::string answer = TestSupport::RunProcess(curl, {{}, {}, 10s}).out;
        EXPECT_EQ(answer.substr(answer.rfind('\n') + 1), std::to_string(e.status)) << answer;
        for (std::string expected : e.answerHolds) {
            if (const auto at = expected.find("PORT"); at != std::string::npos)
                expected.replace(at, 4, port);
            EXPECT_NE(answer.find(expected), std::string::npos) << expected << "\n" << answer;
        }
    }
}

TEST(VersionService, ARealSoapClientCallsItThroughItsWsdl)
{
    StandInService service({"--release", "1.1.1.2", "--url", "http://127.0.0.1/vz.exe"});
    const auto zeep = TestSupport::RunProcess({"/usr/bin/python3", VANTRELZ_SOURCE_DIR "/tests/support/zeep_client.py",
                                               "http://127.0.0.1:" + std::to_string(service.port()) + "/Service.asmx",
                                               "6"},
                                              {{}, {}, 30s});
    const std::string description =
        "<main>1</main><minor>1</minor><build1>1</build1><build2>2</build2><url>http://127.0.0.1/vz.exe</url>";
    EXPECT_EQ(zeep.out, "soap11 " + description + "\nsoap12 " + description + "\n") << zeep.err;
}

}  // namespace
