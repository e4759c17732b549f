// Arbitrary bytes as the whole HTTP reply (status line, headers, framing and
// body) through the real client over loopback, with the reply rules behind
// it: nothing the server sends may crash the client, throw out of it, or
// hold it past its bounds. A long header or chunk line, a bad chunk size, a
// body that lies about its length are all searched for here.

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "update/Service.h"

namespace {

// One server thread on 127.0.0.1: reads each request whole, answers with the
// current input, closes.
class ReplyServer {
public:
    ReplyServer()
    {
        listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(listener, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(listener, 16) != 0 ||
            getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            std::abort();
        port = ntohs(address.sin_port);
        std::thread([this] { Serve(); }).detach();
    }

    void SetReply(std::string bytes)
    {
        const std::lock_guard<std::mutex> guard(lock);
        reply = std::move(bytes);
    }

    unsigned short port = 0;

private:
    void Serve()
    {
        for (;;) {
            const int connection = accept(listener, nullptr, nullptr);
            if (connection < 0)
                continue;
            // The request is the fixed header block and its 351-byte body.
            std::string request;
            char buffer[4096];
            for (;;) {
                const auto headerEnd = request.find("\r\n\r\n");
                if (headerEnd != std::string::npos && request.size() >= headerEnd + 4 + 351)
                    break;
                const ssize_t n = read(connection, buffer, sizeof buffer);
                if (n <= 0)
                    break;
                request.append(buffer, static_cast<std::size_t>(n));
            }
            std::string bytes;
            {
                const std::lock_guard<std::mutex> guard(lock);
                bytes = reply;
            }
            for (std::size_t sent = 0; sent < bytes.size();) {
                const ssize_t n = send(connection, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
                if (n <= 0)
                    break;
                sent += static_cast<std::size_t>(n);
            }
            close(connection);
        }
    }

    int listener = -1;
    std::mutex lock;
    std::string reply;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static ReplyServer server;
    server.SetReply(std::string(reinterpret_cast<const char*>(data), size));
    Service::CServiceT<> service({"127.0.0.1", server.port, "/Service.asmx"});
    service.SetTimeout(2000);
    std::optional<std::wstring> result;
    static_cast<void>(service.GetVersionInfo(6, &result));
    return 0;
}
