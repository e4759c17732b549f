#pragma once
// The proxy settings of a Linux session: http_proxy and no_proxy, read as
// curl reads them.

#include <optional>
#include <string>

namespace Platform {

struct ProxyAddress {
    std::string host;
    unsigned short port = 1080;
    // The Proxy-Authorization value for the credentials in http_proxy
    // ("Basic ..."), or empty when it names none.
    std::string authorization;
};

// The proxy for a request to host, or none. httpProxy is the value of
// http_proxy ("[http://][user[:password]@]host[:port][/]", user and password
// percent-encoded); only the lower-case name is read, as curl does, since a
// CGI-style environment lets a request header set HTTP_PROXY. noProxy is the
// value of no_proxy or else NO_PROXY: a comma- or blank-separated list of
// host names, each matching itself and its subdomains, of addresses in CIDR
// form (127.0.0.0/8, fd00::/8) matching a numeric host inside them, or "*"
// for every host. An http_proxy that names another scheme cannot be used:
// unusable is set, and the caller must not go direct.
struct ProxyChoice {
    std::optional<ProxyAddress> proxy;
    bool unusable = false;
};
ProxyChoice ChooseProxy(const std::string& host, const std::string& httpProxy, const std::string& noProxy);

// ChooseProxy with this process's environment. For an https endpoint the
// proxy comes from https_proxy or else HTTPS_PROXY, as curl takes it, and
// the exchange goes through a tunnel it opens with CONNECT.
ProxyChoice ProxyFromEnvironment(const std::string& host, bool secure);

}  // namespace Platform
