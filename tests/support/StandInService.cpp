#include "support/StandInService.h"

#include <stdexcept>

namespace TestSupport {

using namespace std::chrono_literals;

StandInService::StandInService(const std::string& binDir, std::vector<std::string> options, unsigned short port)
{
    options.insert(options.begin(), {binDir + "/vantrelz-version-service", "--port", std::to_string(port)});
    process_ = std::make_unique<BackgroundProcess>(options);
    const auto line = process_->ReadLine(5s);
    const std::string prefix = "vantrelz-version-service: listening on http";
    const std::size_t portAt = line ? line->find("://127.0.0.1:") : std::string::npos;
    if (!line || line->rfind(prefix, 0) != 0 || portAt == std::string::npos)
        throw std::runtime_error("the stand-in service did not start: " + line.value_or("(nothing)"));
    port_ = static_cast<unsigned short>(std::stoi(line->substr(portAt + 13)));
}

std::string StandInService::NextRequest(std::chrono::milliseconds timeout)
{
    std::string request;
    bool inside = false;
    while (const auto line = process_->ReadLine(timeout)) {
        if (line->rfind("--- request from ", 0) == 0) {
            inside = true;
        } else if (inside && *line == "--- end") {
            // The printout adds a line end after the body.
            if (!request.empty() && request.back() == '\n')
                request.pop_back();
            return request;
        } else if (inside) {
            request += *line + "\n";
        }
    }
    return request;
}

}  // namespace TestSupport
