#pragma once
// The first line of an HTTP reply, read as leniently as Windows' own HTTP
// layer reads it: the status is the decimal number after the version, 0 when
// there is none, and the reason phrase may be missing.

#include <optional>
#include <string>
#include <string_view>

namespace Platform {

struct StatusLine {
    int status = 0;
    // The same line in the form the strict parser takes: the version as
    // given when it is 1.0 or 1.1, a three-digit status (200 stands in for
    // one that has no three digits) and a reason phrase.
    std::string canonical;
};

// line is the reply's first line without its line end. None when the reply
// is not HTTP at all.
std::optional<StatusLine> ReadStatusLine(std::string_view line);

}  // namespace Platform
