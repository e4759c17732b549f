#include "platform/HttpClient.h"

#include <exception>

namespace Platform {

HttpClient::HttpClient(HttpEndpoint endpoint, std::string userAgent)
    : endpoint(std::move(endpoint)), userAgent(std::move(userAgent))
{
}

HttpClient::~HttpClient() = default;

void HttpClient::SetTimeout(std::uint32_t milliseconds) { timeout = std::chrono::milliseconds(milliseconds); }

// Whatever goes wrong in the exchange (no descriptors, no memory, a reply
// the client cannot hold) is a failed call, never an exception.
bool HttpClient::Post(const HttpPost& request, HttpReplySink& sink)
{
    try {
        return PostOrThrow(request, sink);
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace Platform
