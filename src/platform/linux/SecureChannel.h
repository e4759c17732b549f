#pragma once
// TLS for https endpoints, in its own object library so that a launcher
// built for an http endpoint neither links nor loads OpenSSL: such a build
// links NoSecureChannel.cpp instead, which fails every https call.

#include <string>

#include "platform/HttpClient.h"
#include "platform/linux/HttpExchange.h"

namespace Platform {

// Over the exchange's open connection (to the server, or a tunnel to it):
// the TLS handshake with host's certificate verified against the system's
// trust store and host, then the request and the reply inside. Nothing is
// sent to a server that fails verification.
bool PostSecurely(HttpExchange& exchange, const std::string& host, const HttpPost& post,
                  const HttpRequestHead& head, HttpReplySink& sink);

}  // namespace Platform
