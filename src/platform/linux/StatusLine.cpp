#include "platform/linux/StatusLine.h"

#include <charconv>

namespace Platform {

std::optional<StatusLine> ReadStatusLine(std::string_view line)
{
    if (line.substr(0, 5) != "HTTP/")
        return std::nullopt;
    const std::size_t versionEnd = std::min(line.find_first_of(" \t"), line.size());
    const std::string_view version = line.substr(0, versionEnd);
    const std::size_t digits = std::min(line.find_first_not_of(" \t", versionEnd), line.size());
    const std::size_t digitsEnd = std::min(line.find_first_not_of("0123456789", digits), line.size());

    // No digits, or more than an int holds: 0.
    StatusLine result;
    std::from_chars(line.data() + digits, line.data() + digitsEnd, result.status);
    const int forParser = result.status >= 100 && result.status <= 999 ? result.status : 200;
    result.canonical = std::string(version == "HTTP/1.0" ? "HTTP/1.0 " : "HTTP/1.1 ") +
                       std::to_string(forParser) + " X";
    return result;
}

}  // namespace Platform
