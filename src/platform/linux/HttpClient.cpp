// The HTTP client on Boost.Beast over Asio. Every operation runs with its own
// deadline on one io_context, on the calling thread; host names are resolved
// with getaddrinfo_a so that a slow resolver cannot outlast the connect bound.

#include "platform/HttpClient.h"

#include <netdb.h>

#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/basic_parser.hpp>
#include <boost/beast/http/error.hpp>
#include <boost/beast/http/string_body.hpp>
#include <boost/beast/http/write.hpp>
#include <memory>

#include "platform/linux/ProxyEnvironment.h"

namespace Platform {
namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;
using Clock = std::chrono::steady_clock;

// Streams the body of a response into the sink as the parser finds it.
class StreamingParser : public http::basic_parser<false> {
public:
    explicit StreamingParser(HttpReplySink& sink) : sink(sink) {}

private:
    HttpReplySink& sink;

    void on_request_impl(http::verb, beast::string_view, beast::string_view, int, beast::error_code&) override {}
    void on_response_impl(int status, beast::string_view, int, beast::error_code& ec) override
    {
        if (!sink.OnStatus(status))
            ec = http::error::bad_value;
    }
    void on_field_impl(http::field, beast::string_view, beast::string_view, beast::error_code&) override {}
    void on_header_impl(beast::error_code&) override {}
    void on_body_init_impl(const boost::optional<std::uint64_t>&, beast::error_code&) override {}
    std::size_t on_body_impl(beast::string_view body, beast::error_code& ec) override
    {
        if (!sink.OnBody(body.data(), body.size()))
            ec = http::error::bad_value;
        return body.size();
    }
    void on_chunk_header_impl(std::uint64_t, beast::string_view, beast::error_code&) override {}
    std::size_t on_chunk_body_impl(std::uint64_t, beast::string_view body, beast::error_code& ec) override
    {
        return on_body_impl(body, ec);
    }
    void on_finish_impl(beast::error_code&) override {}
};

class Exchange {
public:
    explicit Exchange(std::chrono::milliseconds timeout)
        : timeout(timeout), deadline(Clock::now() + HttpClient::maxCallDuration), stream(context)
    {
    }

    // The bound for the next wait: the time-out, never past the deadline;
    // nothing left once the deadline has passed.
    std::chrono::milliseconds NextWait() const
    {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (timeout.count() > 0)
            left = std::min(left, timeout);
        return left;
    }

    // Sets the stream's expiry to the next wait; false when none is left.
    bool Arm()
    {
        const auto left = NextWait();
        if (left.count() <= 0)
            return false;
        stream.expires_after(left);
        return true;
    }

    // Runs one asynchronous operation to its end.
    template <class Start>
    beast::error_code Run(Start start)
    {
        beast::error_code result = asio::error::would_block;
        start([&result](beast::error_code ec, auto&&...) { result = ec; });
        context.restart();
        context.run();
        return result;
    }

    bool Resolve(const std::string& host, unsigned short port, tcp::resolver::results_type& results);
    bool Connect(const std::string& host, unsigned short port);
    bool Send(const HttpPost& post, const std::string& target, const std::string& hostHeader,
              const std::string& userAgent);
    bool Receive(HttpReplySink& sink);

private:
    std::chrono::milliseconds timeout;
    Clock::time_point deadline;
    asio::io_context context;
    beast::tcp_stream stream;
};

bool Exchange::Resolve(const std::string& host, unsigned short port, tcp::resolver::results_type& results)
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

bool Exchange::Connect(const std::string& host, unsigned short port)
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
    return !Run([&](auto handler) { stream.async_connect(endpoints, std::move(handler)); });
}

bool Exchange::Send(const HttpPost& post, const std::string& target, const std::string& hostHeader,
                    const std::string& userAgent)
{
    http::request<http::string_body> request{http::verb::post, target, 10};
    request.set(http::field::host, hostHeader);
    request.set(http::field::user_agent, userAgent);
    request.set(http::field::accept, post.accept);
    for (const auto& [name, value] : post.headers)
        request.insert(name, value);
    request.body() = post.body;
    request.prepare_payload();
    if (!Arm())
        return false;
    return !Run([&](auto handler) { http::async_write(stream, request, std::move(handler)); });
}

bool Exchange::Receive(HttpReplySink& sink)
{
    StreamingParser parser(sink);
    parser.body_limit(HttpClient::maxBodySize);
    constexpr std::size_t readSize = 16 * 1024;
    beast::flat_buffer buffer(64 * 1024);
    while (!parser.is_done()) {
        // A piece the parser cannot take yet (a header or chunk line) that
        // fills the buffer is more than a reply may hold.
        if (buffer.max_size() - buffer.size() < readSize || !Arm())
            return false;
        std::size_t received = 0;
        const auto space = buffer.prepare(readSize);
        beast::error_code ec = Run([&](auto handler) {
            stream.async_read_some(space, [&received, handler = std::move(handler)](beast::error_code e,
                                                                                    std::size_t n) mutable {
                received = n;
                handler(e);
            });
        });
        buffer.commit(received);
        if (ec == asio::error::eof) {
            parser.put_eof(ec);
            return !ec && parser.is_done();
        }
        if (ec)
            return false;
        while (buffer.size() > 0 && !parser.is_done()) {
            const std::size_t used = parser.put(buffer.data(), ec);
            buffer.consume(used);
            if (ec == http::error::need_more)
                break;
            if (ec)
                return false;
        }
    }
    return true;
}

}  // namespace

bool HttpClient::PostOrThrow(const HttpPost& request, HttpReplySink& sink)
{
    const bool literalV6 = endpoint.host.find(':') != std::string::npos;
    std::string authority = literalV6 ? "[" + endpoint.host + "]" : endpoint.host;
    if (endpoint.port != 80)
        authority += ":" + std::to_string(endpoint.port);

    const ProxyChoice proxy = ProxyFromEnvironment(endpoint.host);
    if (proxy.unusable)
        return false;
    Exchange exchange(timeout);
    const std::string& host = proxy.proxy ? proxy.proxy->host : endpoint.host;
    const unsigned short port = proxy.proxy ? proxy.proxy->port : endpoint.port;
    const std::string target = proxy.proxy ? "http://" + authority + endpoint.target : endpoint.target;
    return exchange.Connect(host, port) && exchange.Send(request, target, authority, userAgent) &&
           exchange.Receive(sink);
}

}  // namespace Platform
