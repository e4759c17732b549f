#include "support/LoopbackServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <stdexcept>

namespace TestSupport {
namespace {

// port 0: one of the system's choosing.
int Listen(unsigned short& port)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int reuse = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 16) != 0)
        throw std::runtime_error("cannot listen on 127.0.0.1");
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return fd;
}

}  // namespace

LoopbackServer::LoopbackServer(std::function<void(int fd)> handler, unsigned short port) : port_(port)
{
    listener_ = Listen(port_);
    thread_ = std::thread([this, handler = std::move(handler)] {
        while (!stopping_) {
            pollfd fd = {listener_, POLLIN, 0};
            if (poll(&fd, 1, 50) <= 0)
                continue;
            const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                continue;
            ++connections_;
            handler(client);
            close(client);
        }
    });
}

LoopbackServer::~LoopbackServer()
{
    stopping_ = true;
    thread_.join();
    close(listener_);
}

std::string LoopbackServer::ReadRequest(int fd)
{
    std::string data;
    std::size_t expected = std::string::npos;
    char buffer[4096];
    for (;;) {
        if (expected != std::string::npos && data.size() >= expected)
            return data;
        pollfd p = {fd, POLLIN, 0};
        if (poll(&p, 1, 5000) <= 0)
            return data;
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return data;
        data.append(buffer, static_cast<std::size_t>(n));
        const auto end = data.find("\r\n\r\n");
        if (expected == std::string::npos && end != std::string::npos) {
            const auto length = data.find("Content-Length: ");
            expected = end + 4 + (length < end ? std::stoul(data.substr(length + 16)) : 0);
        }
    }
}

bool LoopbackServer::SendAll(int fd, const std::string& data)
{
    std::size_t sent = 0;
    while (sent < data.size()) {
        const ssize_t n = send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

void LoopbackServer::WaitForClose(int fd, int ms)
{
    char buffer[256];
    for (int waited = 0; waited < ms; waited += 50) {
        pollfd p = {fd, POLLIN, 0};
        if (poll(&p, 1, 50) > 0 && read(fd, buffer, sizeof buffer) <= 0)
            return;
    }
}

unsigned short ClosedPort()
{
    unsigned short port = 0;
    close(Listen(port));
    return port;
}

SilentListener::SilentListener(Kind kind, const std::string& where, unsigned short first, unsigned short last)
{
    if (kind == Unix) {
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        if (where.size() >= sizeof address.sun_path)
            throw std::runtime_error("socket path too long: " + where);
        where.copy(address.sun_path, where.size());
        fd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd_ < 0 || bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd_, 16) != 0)
            throw std::runtime_error("cannot listen at " + where);
        path_ = where;
        return;
    }
    for (unsigned port = first; port <= last && port_ == 0; ++port) {
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<unsigned short>(port));
        inet_pton(AF_INET, where.c_str(), &address.sin_addr);
        const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && listen(fd, 16) == 0) {
            fd_ = fd;
            port_ = static_cast<unsigned short>(port);
        } else {
            close(fd);
        }
    }
    if (port_ == 0)
        throw std::runtime_error("no free port on " + where);
}

SilentListener::~SilentListener()
{
    close(fd_);
    if (!path_.empty())
        unlink(path_.c_str());
}

}  // namespace TestSupport
