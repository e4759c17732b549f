// TLS on Boost.Asio's SSL stream over OpenSSL: TLS 1.2 or newer, the server
// name sent (SNI), the certificate chain verified against OpenSSL's default
// trust store (so SSL_CERT_FILE and SSL_CERT_DIR apply) and the certificate
// checked against the host name or address. Every wait is bounded as the
// plain exchange's are.

#include "platform/linux/SecureChannel.h"

#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <boost/asio/ssl/context.hpp>
#include <boost/asio/ssl/error.hpp>
#include <boost/asio/ssl/stream.hpp>

namespace Platform {
namespace {

namespace ssl = asio::ssl;

bool IsNumericAddress(const std::string& host)
{
    beast::error_code ec;
    asio::ip::make_address(host, ec);
    return !ec;
}

// Which server's certificate this connection must present: the name goes
// out as SNI and is checked against the certificate's names; an address is
// checked against its IP entries.
bool ExpectServer(SSL* connection, const std::string& host)
{
    if (IsNumericAddress(host))
        return X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(connection), host.c_str()) == 1;
    return SSL_set_tlsext_host_name(connection, host.c_str()) == 1 && SSL_set1_host(connection, host.c_str()) == 1;
}

}  // namespace

bool PostSecurely(HttpExchange& exchange, const std::string& host, const HttpPost& post,
                  const HttpRequestHead& head, HttpReplySink& sink)
{
    ssl::context context(ssl::context::tls_client);
    beast::error_code ec;
    context.set_default_verify_paths(ec);
    if (ec || SSL_CTX_set_min_proto_version(context.native_handle(), TLS1_2_VERSION) != 1)
        return false;
    context.set_verify_mode(ssl::verify_peer);

    ssl::stream<beast::tcp_stream&> stream(exchange.Connection(), context);
    if (!ExpectServer(stream.native_handle(), host))
        return false;
    if (!exchange.Arm() ||
        exchange.Run([&](auto handler) { stream.async_handshake(ssl::stream_base::client, std::move(handler)); }))
        return false;
    // The reply is whole when its parser says so; a close_notify is not
    // waited for, and the connection closes with the exchange.
    return exchange.Send(stream, post, head) && exchange.Receive(stream, sink, ssl::error::stream_truncated);
}

}  // namespace Platform
