#pragma once
// The stand-in version service (tools/version-service) for a test, on
// 127.0.0.1: on a port of its own choosing unless told one.

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "support/Process.h"

namespace TestSupport {

class StandInService {
public:
    // binDir holds vantrelz-version-service; options as its command line
    // takes them. Throws when it does not start listening.
    StandInService(const std::string& binDir, std::vector<std::string> options, unsigned short port = 0);

    unsigned short port() const { return port_; }
    // Reads one line of what it prints (--print-requests), at most timeout.
    std::optional<std::string> ReadLine(std::chrono::milliseconds timeout) { return process_->ReadLine(timeout); }
    // The next request it printed, as received.
    std::string NextRequest(std::chrono::milliseconds timeout);

private:
    std::unique_ptr<BackgroundProcess> process_;
    unsigned short port_ = 0;
};

}  // namespace TestSupport
