// The HTTP client on WinINet: the system's proxy configuration, HTTP/1.0,
// keep-alive, no user interface. Each connect, send and receive wait is
// bounded by the time-out, the whole call by maxCallDuration, the body by
// maxBodySize.
//
// WinINet takes the time-outs on the connection and request handles, but
// not every WinINet honours them (Wine's waits out a connect that is never
// answered), so the exchange runs on a worker thread that reports each step
// it makes, and the caller gives up once no step came within the time-out.
// A worker given up on is left to end with the process; it touches nothing
// but the state it shares, and the reply reaches the sink only from the
// caller's thread.

#include "platform/HttpClient.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <condition_variable>
#include <cwctype>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

#include "base/Utf8.h"

namespace Platform {
namespace {

using Clock = std::chrono::steady_clock;

class InternetHandle {
public:
    explicit InternetHandle(HINTERNET handle) : handle(handle) {}
    ~InternetHandle()
    {
        if (handle)
            InternetCloseHandle(handle);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    HINTERNET Get() const { return handle; }
    explicit operator bool() const { return handle != nullptr; }

private:
    HINTERNET handle;
};

void SetTimeouts(HINTERNET handle, std::chrono::milliseconds timeout)
{
    if (timeout.count() <= 0)
        return;
    DWORD value = static_cast<DWORD>(timeout.count());
    for (const DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                               INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_DATA_SEND_TIMEOUT,
                               INTERNET_OPTION_DATA_RECEIVE_TIMEOUT})
        InternetSetOptionW(handle, option, &value, sizeof value);
}

// The status code as the server wrote it, read as a decimal number; 0 when
// it cannot be read.
int StatusCode(HINTERNET request)
{
    wchar_t text[32] = {};
    DWORD size = sizeof text;
    if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE, text, &size, nullptr))
        return 0;
    int status = 0;
    for (const wchar_t* c = text; *c; ++c) {
        if (!std::iswdigit(*c) || status > 99999)
            return 0;
        status = status * 10 + (*c - L'0');
    }
    return status;
}

// What the worker and the caller share.
struct Exchange {
    std::mutex mutex;
    std::condition_variable changed;
    Clock::time_point lastStep = Clock::now();
    bool finished = false;
    bool received = false;  // a whole reply
    int status = 0;
    std::string body;

    void Step()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        lastStep = Clock::now();
        changed.notify_all();
    }
    void Finish(bool whole)
    {
        const std::lock_guard<std::mutex> lock(mutex);
        finished = true;
        received = whole;
        changed.notify_all();
    }
};

// Every status WinINet reports (resolving, connecting, sending, receiving)
// is a step of the exchange.
void CALLBACK OnInternetStatus(HINTERNET, DWORD_PTR context, DWORD, LPVOID, DWORD)
{
    if (context)
        reinterpret_cast<Exchange*>(context)->Step();
}

// The whole exchange, on the worker thread. True when a whole reply arrived.
bool Carry(Exchange& exchange, const HttpEndpoint& endpoint, const std::string& userAgent, const HttpPost& post,
           std::chrono::milliseconds timeout)
{
    const InternetHandle session(InternetOpenW(Utf8::ToWide(userAgent).c_str(), INTERNET_OPEN_TYPE_PRECONFIG,
                                               nullptr, nullptr, 0));
    if (!session)
        return false;
    InternetSetStatusCallbackW(session.Get(), OnInternetStatus);
    const auto context = reinterpret_cast<DWORD_PTR>(&exchange);
    const InternetHandle connection(InternetConnectW(session.Get(), Utf8::ToWide(endpoint.host).c_str(),
                                                     endpoint.port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0,
                                                     context));
    if (!connection)
        return false;
    SetTimeouts(connection.Get(), timeout);

    const std::wstring accept = Utf8::ToWide(post.accept);
    const wchar_t* acceptTypes[] = {accept.c_str(), nullptr};
    DWORD flags = INTERNET_FLAG_KEEP_CONNECTION | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_CACHE_WRITE |
                  INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_RELOAD;
    if (endpoint.secure)
        flags |= INTERNET_FLAG_SECURE;
    const InternetHandle request(HttpOpenRequestW(connection.Get(), L"POST", Utf8::ToWide(endpoint.target).c_str(),
                                                  L"HTTP/1.0", nullptr, acceptTypes, flags, context));
    if (!request)
        return false;
    SetTimeouts(request.Get(), timeout);

    std::wstring headers;
    for (const auto& [name, value] : post.headers)
        headers += Utf8::ToWide(name) + L": " + Utf8::ToWide(value) + L"\r\n";
    std::string body = post.body;
    if (!HttpSendRequestW(request.Get(), headers.c_str(), static_cast<DWORD>(headers.size()), body.data(),
                          static_cast<DWORD>(body.size())))
        return false;
    exchange.status = StatusCode(request.Get());
    exchange.Step();

    char buffer[16 * 1024];
    for (;;) {
        // Only what has arrived, so that each piece counts as a step.
        DWORD available = 0;
        if (!InternetQueryDataAvailable(request.Get(), &available, 0, 0))
            return false;
        DWORD read = 0;
        if (!InternetReadFile(request.Get(), buffer, std::min<DWORD>(std::max<DWORD>(available, 1), sizeof buffer),
                              &read))
            return false;
        if (read == 0)
            return true;
        if (exchange.body.size() + read > HttpClient::maxBodySize)
            return false;
        exchange.body.append(buffer, read);
        exchange.Step();
    }
}

}  // namespace

bool HttpClient::PostOrThrow(const HttpPost& post, HttpReplySink& sink)
{
    const auto deadline = Clock::now() + maxCallDuration;
    const auto exchange = std::make_shared<Exchange>();
    std::thread([exchange, endpoint = endpoint, userAgent = userAgent, post, timeout = timeout] {
        bool whole = false;
        try {
            whole = Carry(*exchange, endpoint, userAgent, post, timeout);
        } catch (const std::exception&) {
        }
        exchange->Finish(whole);
    }).detach();

    {
        std::unique_lock<std::mutex> lock(exchange->mutex);
        for (;;) {
            if (exchange->finished)
                break;
            auto until = deadline;
            if (timeout.count() > 0)
                until = std::min(until, exchange->lastStep + timeout);
            if (Clock::now() >= until)
                return false;  // given up: the worker ends with the process
            exchange->changed.wait_until(lock, until);
        }
        if (!exchange->received)
            return false;
    }
    return sink.OnStatus(exchange->status) && (exchange->body.empty() ||
                                               sink.OnBody(exchange->body.data(), exchange->body.size()));
}

}  // namespace Platform
