// A launcher built for an http endpoint has no TLS: an https call fails.

#include "platform/linux/SecureChannel.h"

namespace Platform {

bool PostSecurely(HttpExchange&, const std::string&, const HttpPost&, const HttpRequestHead&, HttpReplySink&)
{
    return false;
}

}  // namespace Platform
