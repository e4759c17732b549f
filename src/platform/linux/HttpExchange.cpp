// The connection of an exchange: the name lookup, the connect, and the
// tunnel through a proxy. Host names are resolved with getaddrinfo_a so that
// a slow resolver cannot outlast the connect bound.

#include "platform/linux/HttpExchange.h"

#include <netdb.h>

#include <boost/asio/connect.hpp>
#include <boost/beast/http/empty_body.hpp>
#include <boost/beast/http/read.hpp>
#include <memory>

namespace Platform {

using tcp = asio::ip::tcp;
using Clock = std::chrono::steady_clock;

HttpExchange::HttpExchange(std::chrono::milliseconds timeout)
    : timeout(timeout), deadline(Clock::now() + HttpClient::maxCallDuration), connection(context)
{
}

std::chrono::milliseconds HttpExchange::NextWait() const
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (timeout.count() > 0)
        left = std::min(left, timeout);
    return left;
}

bool HttpExchange::Arm()
{
    const auto left = NextWait();
    if (left.count() <= 0)
        return false;
    connection.expires_after(left);
    return true;
}

bool HttpExchange::Resolve(const std::string& host, unsigned short port, tcp::resolver::results_type& results)
{
    // The resolver may still write into the request after a give-up, so the
    // request lives on the heap and is let go only once it has completed.
    struct Lookup {
        std::string name;
        std::string service;
        addrinfo hints = {};
        gaicb request = {};
    };
    auto lookup = std::make_unique<Lookup>();
    lookup->name = host;
    lookup->service = std::to_string(port);
    lookup->hints.ai_family = AF_UNSPEC;
    lookup->hints.ai_socktype = SOCK_STREAM;
    lookup->hints.ai_flags = AI_ADDRCONFIG;
    lookup->request.ar_name = lookup->name.c_str();
    lookup->request.ar_service = lookup->service.c_str();
    lookup->request.ar_request = &lookup->hints;
    gaicb* list[] = {&lookup->request};
    if (getaddrinfo_a(GAI_NOWAIT, list, 1, nullptr) != 0)
        return false;

    const gaicb* const pending[] = {&lookup->request};
    while (gai_error(&lookup->request) == EAI_INPROGRESS) {
        const auto left = NextWait();
        if (left.count() <= 0)
            break;
        const timespec wait = {static_cast<time_t>(left.count() / 1000),
                               static_cast<long>(left.count() % 1000) * 1000000};
        if (gai_suspend(pending, 1, &wait) == EAI_AGAIN)
            break;
    }
    if (gai_error(&lookup->request) == EAI_INPROGRESS) {
        if (gai_cancel(&lookup->request) != EAI_CANCELED)
            static_cast<void>(lookup.release());  // still in the resolver's hands; the launcher ends soon
        return false;
    }
    if (gai_error(&lookup->request) != 0)
        return false;
    results = tcp::resolver::results_type::create(lookup->request.ar_result, host, lookup->service);
    freeaddrinfo(lookup->request.ar_result);
    return !results.empty();
}

bool HttpExchange::Connect(const std::string& host, unsigned short port)
{
    tcp::resolver::results_type endpoints;
    beast::error_code ec;
    const auto address = asio::ip::make_address(host, ec);
    if (!ec) {
        endpoints = tcp::resolver::results_type::create(tcp::endpoint(address, port), host, std::to_string(port));
    } else if (!Resolve(host, port, endpoints)) {
        return false;
    }
    // The time-out bounds the whole connect, across every address tried.
    if (!Arm())
        return false;
    return !Run([&](auto handler) { connection.async_connect(endpoints, std::move(handler)); });
}

bool HttpExchange::OpenTunnel(const std::string& authority, const std::string& proxyAuthorization)
{
    http::request<http::empty_body> request{http::verb::connect, authority, 11};
    request.set(http::field::host, authority);
    if (!proxyAuthorization.empty())
        request.set(http::field::proxy_authorization, proxyAuthorization);
    if (!Arm() || Run([&](auto handler) { http::async_write(connection, request, std::move(handler)); }))
        return false;

    // The proxy's answer has no body; anything after its header would
    // already be the server's, which speaks only after the client.
    http::response_parser<http::empty_body> answer;
    answer.skip(true);
    beast::flat_buffer buffer(16 * 1024);
    if (!Arm() || Run([&](auto handler) { http::async_read(connection, buffer, answer, std::move(handler)); }))
        return false;
    return answer.get().result_int() / 100 == 2 && buffer.size() == 0;
}

}  // namespace Platform
