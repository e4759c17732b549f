#pragma once
// Conversions between UTF-8 and the wide strings the system works in
// (UTF-32 where wchar_t has 32 bits, UTF-16 where it has 16).

#include <string>
#include <string_view>

namespace Utf8 {

// Invalid or truncated sequences become U+FFFD, one per offending byte.
std::wstring ToWide(std::string_view utf8);

// Unpaired surrogates and values beyond U+10FFFF become U+FFFD.
std::string FromWide(std::wstring_view wide);

}  // namespace Utf8
