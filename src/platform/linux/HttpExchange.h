#pragma once
// One HTTP exchange on Boost.Beast over Asio, plain or inside TLS. Every
// operation runs with its own deadline on one io_context, on the calling
// thread: each wait bounded by the time-out, the whole call by
// HttpClient::maxCallDuration.

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/basic_parser.hpp>
#include <boost/beast/http/error.hpp>
#include <boost/beast/http/string_body.hpp>
#include <boost/beast/http/write.hpp>
#include <chrono>
#include <string>
#include <string_view>

#include "platform/HttpClient.h"
#include "platform/linux/StatusLine.h"

namespace Platform {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;

// What goes on the wire besides the caller's post: the request target, the
// Host header and the client's headers.
struct HttpRequestHead {
    std::string target;
    std::string host;
    std::string userAgent;
    std::string proxyAuthorization;  // empty: none
};

class HttpExchange {
public:
    explicit HttpExchange(std::chrono::milliseconds timeout);

    // The bound for the next wait: the time-out, never past the deadline;
    // nothing left once the deadline has passed.
    std::chrono::milliseconds NextWait() const;
    // Sets the connection's expiry to the next wait; false when none is left.
    bool Arm();

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

    bool Connect(const std::string& host, unsigned short port);
    // Asks the proxy at the other end for a tunnel to authority.
    bool OpenTunnel(const std::string& authority, const std::string& proxyAuthorization);

    template <class Stream>
    bool Send(Stream& stream, const HttpPost& post, const HttpRequestHead& head);
    // truncated: what else the stream reports as its end (a TLS peer that
    // closes without saying so); the parser decides whether the reply was
    // whole.
    template <class Stream>
    bool Receive(Stream& stream, HttpReplySink& sink, beast::error_code truncated = {});

    beast::tcp_stream& Connection() { return connection; }

private:
    bool Resolve(const std::string& host, unsigned short port, asio::ip::tcp::resolver::results_type& results);
    template <class Stream>
    beast::error_code ReadSome(Stream& stream, beast::flat_buffer& buffer);

    std::chrono::milliseconds timeout;
    std::chrono::steady_clock::time_point deadline;
    asio::io_context context;
    beast::tcp_stream connection;
};

namespace Detail {

// Streams the body of a response into the sink as the parser finds it. The
// status line reaches the sink before the parser (see StatusLine.h).
class StreamingParser : public http::basic_parser<false> {
public:
    explicit StreamingParser(HttpReplySink& sink) : sink(sink) {}

private:
    HttpReplySink& sink;

    void on_request_impl(http::verb, beast::string_view, beast::string_view, int, beast::error_code&) override {}
    void on_response_impl(int, beast::string_view, int, beast::error_code&) override {}
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

}  // namespace Detail

template <class Stream>
bool HttpExchange::Send(Stream& stream, const HttpPost& post, const HttpRequestHead& head)
{
    http::request<http::string_body> request{http::verb::post, head.target, 10};
    request.set(http::field::host, head.host);
    if (!head.proxyAuthorization.empty())
        request.set(http::field::proxy_authorization, head.proxyAuthorization);
    request.set(http::field::user_agent, head.userAgent);
    request.set(http::field::accept, post.accept);
    for (const auto& [name, value] : post.headers)
        request.insert(name, value);
    request.body() = post.body;
    request.prepare_payload();
    if (!Arm())
        return false;
    return !Run([&](auto handler) { http::async_write(stream, request, std::move(handler)); });
}

template <class Stream>
beast::error_code HttpExchange::ReadSome(Stream& stream, beast::flat_buffer& buffer)
{
    constexpr std::size_t readSize = 16 * 1024;
    // A piece the parser cannot take yet (a header or chunk line) that fills
    // the buffer is more than a reply may hold.
    if (buffer.max_size() - buffer.size() < readSize)
        return http::error::buffer_overflow;
    if (!Arm())
        return asio::error::timed_out;
    std::size_t received = 0;
    const auto space = buffer.prepare(readSize);
    const beast::error_code ec = Run([&](auto handler) {
        stream.async_read_some(space, [&received, handler = std::move(handler)](beast::error_code e,
                                                                                std::size_t n) mutable {
            received = n;
            handler(e);
        });
    });
    buffer.commit(received);
    return ec;
}

template <class Stream>
bool HttpExchange::Receive(Stream& stream, HttpReplySink& sink, beast::error_code truncated)
{
    beast::flat_buffer buffer(64 * 1024);

    // The status line is read here, leniently, and handed to the parser in
    // the form it takes.
    std::size_t lineEnd = 0;
    for (;;) {
        const std::string_view received(static_cast<const char*>(buffer.data().data()), buffer.size());
        if ((lineEnd = received.find('\n')) != std::string_view::npos)
            break;
        if (ReadSome(stream, buffer))
            return false;
    }
    {
        const std::string received(static_cast<const char*>(buffer.data().data()), buffer.size());
        std::string_view line = std::string_view(received).substr(0, lineEnd);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const auto status = ReadStatusLine(line);
        if (!status || !sink.OnStatus(status->status))
            return false;
        const std::string restated = status->canonical + "\r\n" + received.substr(lineEnd + 1);
        buffer.consume(buffer.size());
        buffer.commit(asio::buffer_copy(buffer.prepare(restated.size()), asio::buffer(restated)));
    }

    Detail::StreamingParser parser(sink);
    parser.body_limit(HttpClient::maxBodySize);
    beast::error_code ec;
    for (;;) {
        while (buffer.size() > 0 && !parser.is_done()) {
            const std::size_t used = parser.put(buffer.data(), ec);
            buffer.consume(used);
            if (ec == http::error::need_more)
                break;
            if (ec)
                return false;
        }
        if (parser.is_done())
            return true;
        ec = ReadSome(stream, buffer);
        if (ec == asio::error::eof || (truncated && ec == truncated)) {
            parser.put_eof(ec);
            return !ec && parser.is_done();
        }
        if (ec)
            return false;
    }
}

}  // namespace Platform
