// The HTTP client's Linux exchange: straight to the endpoint or through the
// session's proxy; an https endpoint inside TLS (SecureChannel.h).

#include "platform/HttpClient.h"

#include "platform/linux/HttpExchange.h"
#include "platform/linux/ProxyEnvironment.h"
#include "platform/linux/SecureChannel.h"

namespace Platform {

bool HttpClient::PostOrThrow(const HttpPost& request, HttpReplySink& sink)
{
    const bool literalV6 = endpoint.host.find(':') != std::string::npos;
    const std::string hostAndPort =
        (literalV6 ? "[" + endpoint.host + "]" : endpoint.host) + ":" + std::to_string(endpoint.port);
    // The Host header names the port only when it is not the scheme's own.
    const std::string authority = endpoint.port == (endpoint.secure ? 443 : 80)
                                      ? hostAndPort.substr(0, hostAndPort.rfind(':'))
                                      : hostAndPort;
    HttpRequestHead head{endpoint.target, authority, userAgent, {}};

    const ProxyChoice proxy = ProxyFromEnvironment(endpoint.host, endpoint.secure);
    if (proxy.unusable)
        return false;
    HttpExchange exchange(timeout);
    if (proxy.proxy) {
        if (!exchange.Connect(proxy.proxy->host, proxy.proxy->port))
            return false;
        if (endpoint.secure) {
            if (!exchange.OpenTunnel(hostAndPort, proxy.proxy->authorization))
                return false;
        } else {
            head.target = "http://" + authority + endpoint.target;
            head.proxyAuthorization = proxy.proxy->authorization;
        }
    } else if (!exchange.Connect(endpoint.host, endpoint.port)) {
        return false;
    }
    if (endpoint.secure)
        return PostSecurely(exchange, endpoint.host, request, head, sink);
    return exchange.Send(exchange.Connection(), request, head) && exchange.Receive(exchange.Connection(), sink);
}

}  // namespace Platform
