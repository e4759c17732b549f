// The proxy settings of a Linux session, read as curl reads them.

#include <gtest/gtest.h>

#include "platform/linux/ProxyEnvironment.h"
#include "support/Scopes.h"

namespace {

using TestSupport::EnvironmentScope;

struct ProxyCase {
    const char* host;
    const char* httpProxy;
    const char* noProxy;
    const char* proxyHost;  // nullptr: direct
    unsigned short proxyPort;
    bool unusable;
};

TEST(ProxyEnvironment, ChoosesAsCurlDoes)
{
    const ProxyCase cases[] = {
        {"svc.example.org", "", "", nullptr, 0, false},
        {"svc.example.org", "http://proxy:3128", "", "proxy", 3128, false},
        {"svc.example.org", "proxy:3128/", "", "proxy", 3128, false},
        {"svc.example.org", "proxy", "", "proxy", 1080, false},
        {"svc.example.org", "http://user:pw@proxy:8080", "", "proxy", 8080, false},
        {"svc.example.org", "http://[::1]:8080", "", "::1", 8080, false},
        {"svc.example.org", "http://proxy:3128", "*", nullptr, 0, false},
        {"svc.example.org", "http://proxy:3128", "example.org", nullptr, 0, false},
        {"svc.example.org", "http://proxy:3128", ".example.org", nullptr, 0, false},
        {"SVC.Example.ORG", "http://proxy:3128", "example.org", nullptr, 0, false},
        {"svc.example.org", "http://proxy:3128", "ample.org", "proxy", 3128, false},
        {"svc.example.org", "http://proxy:3128", "other.net,svc.example.org", nullptr, 0, false},
        {"svc.example.org", "socks5://proxy:1080", "", nullptr, 0, true},
        {"svc.example.org", "http://proxy:99999", "", nullptr, 0, true},
    };
    for (const ProxyCase& c : cases) {
        const auto choice = Platform::ChooseProxy(c.host, c.httpProxy, c.noProxy);
        SCOPED_TRACE(std::string(c.httpProxy) + " / " + c.noProxy);
        EXPECT_EQ(choice.unusable, c.unusable);
        ASSERT_EQ(choice.proxy.has_value(), c.proxyHost != nullptr);
        if (c.proxyHost) {
            EXPECT_EQ(choice.proxy->host, c.proxyHost);
            EXPECT_EQ(choice.proxy->port, c.proxyPort);
        }
    }
}

TEST(ProxyEnvironment, UpperCaseHttpProxyIsNotRead)
{
    EnvironmentScope environment;
    environment.Set("http_proxy", "");
    environment.Set("HTTP_PROXY", "http://proxy:3128");
    EXPECT_FALSE(Platform::ProxyFromEnvironment("svc.example.org").proxy);
}

}  // namespace
