#pragma once
// A small HTTP/1.0 client for one POST at a time, with every wait bounded:
// the connect, each send and each receive by the time-out, the whole call by
// maxCallDuration; a reply body over maxBodySize is refused. The reply's body
// is handed on in pieces as it arrives.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Platform {

struct HttpEndpoint {
    std::string host;  // a name or a numeric address, without brackets
    unsigned short port = 80;
    std::string target;  // path and query
    bool secure = false;  // https
};

struct HttpPost {
    std::string accept;
    std::vector<std::pair<std::string, std::string>> headers;  // sent in this order
    std::string body;
};

class HttpReplySink {
public:
    virtual ~HttpReplySink() = default;
    // Each returns false to end the exchange as a failure.
    virtual bool OnStatus(int status) = 0;
    virtual bool OnBody(const char* data, std::size_t size) = 0;
};

class HttpClient {
public:
    static constexpr std::size_t maxBodySize = 1 << 20;
    static constexpr std::chrono::milliseconds maxCallDuration{10000};

    HttpClient(HttpEndpoint endpoint, std::string userAgent);
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // 0 leaves only the bound on the whole call.
    void SetTimeout(std::uint32_t milliseconds);

    // True when a whole reply was received and the sink accepted all of it.
    bool Post(const HttpPost& request, HttpReplySink& sink);

private:
    // The backend's exchange; Post turns anything it throws into a failure.
    bool PostOrThrow(const HttpPost& request, HttpReplySink& sink);

    HttpEndpoint endpoint;
    std::string userAgent;
    std::chrono::milliseconds timeout{0};
};

}  // namespace Platform
