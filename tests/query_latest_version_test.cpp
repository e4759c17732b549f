// The version query as the launcher makes it, against its built-in endpoint.

#include <gtest/gtest.h>

#include "support/StandInService.h"
#include "update/QueryLatestVersion.h"
#include "update/ServiceEndpoint.h"

namespace {

const std::string binDir = VANTRELZ_BIN_DIR;

class QueryLatestVersionTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (std::string(ServiceEndpoint::host) != "127.0.0.1")
            GTEST_SKIP() << "the built-in endpoint " << ServiceEndpoint::url << " is not on this machine";
    }
    void StartService(const std::vector<std::string>& options)
    {
        service.reset();
        service = std::make_unique<TestSupport::StandInService>(binDir, options, ServiceEndpoint::port);
    }
    std::unique_ptr<TestSupport::StandInService> service;
};

TEST_F(QueryLatestVersionTest, AFailedCallLeavesTheAddressAlone)
{
    std::wstring address = L"as it was";
    EXPECT_EQ(QueryLatestVersion(address), ServiceError);
    EXPECT_EQ(address, L"as it was");
}

TEST_F(QueryLatestVersionTest, TheDecisionAndTheAddressComeFromTheReply)
{
    StartService({"--release", "1.1.1.2", "--url", "http://127.0.0.1/vz.exe"});
    std::wstring address = L"as it was";
    EXPECT_EQ(QueryLatestVersion(address), NewerAvailable);
    EXPECT_EQ(address, L"http://127.0.0.1/vz.exe");
    service.reset();

    StartService({"--release", "1.1.1.0"});
    EXPECT_EQ(QueryLatestVersion(address), UpToDate);
    EXPECT_EQ(address, L"");
}

}  // namespace
