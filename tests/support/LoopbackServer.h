#pragma once
// A TCP server on 127.0.0.1 for a test: each connection is handed to the
// test's handler on the server's own thread, one after the other.

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace TestSupport {

class LoopbackServer {
public:
    // handler(fd) serves one connection; the server closes fd afterwards.
    // port 0: one of the system's choosing.
    explicit LoopbackServer(std::function<void(int fd)> handler, unsigned short port = 0);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    unsigned short port() const { return port_; }
    int connections() const { return connections_; }

    // Reads one HTTP request (header and Content-Length body), or what came
    // before the peer stopped sending.
    static std::string ReadRequest(int fd);
    // Sends all of data; false once the peer is gone.
    static bool SendAll(int fd, const std::string& data);
    // Waits until the peer closes, at most ms.
    static void WaitForClose(int fd, int ms);

private:
    int listener_ = -1;
    unsigned short port_ = 0;
    std::atomic<int> connections_{0};
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

// A port on 127.0.0.1 where nothing listens.
unsigned short ClosedPort();

// A listener that takes connections into its backlog and never answers
// them: a server that is there and frozen.
class SilentListener {
public:
    enum Kind { Tcp, Unix };
    // Tcp: the first free port from first to last on address; Unix: a socket
    // at the path where.
    SilentListener(Kind kind, const std::string& where, unsigned short first = 0, unsigned short last = 0);
    ~SilentListener();
    SilentListener(const SilentListener&) = delete;
    SilentListener& operator=(const SilentListener&) = delete;

    unsigned short port() const { return port_; }
    const std::string& path() const { return path_; }

private:
    int fd_ = -1;
    unsigned short port_ = 0;
    std::string path_;
};

}  // namespace TestSupport
