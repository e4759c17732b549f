#pragma once
// The single-byte code pages that Windows' XML parser reads and expat does
// not know by itself (windows-1250 to -1258, the iso-8859 family, koi8-r and
// the like), as tables from byte to code point built with glibc's iconv.

#include <array>
#include <optional>

namespace Platform {

// The code point of each byte in the encoding called name, -1 where a byte
// means nothing; none when iconv does not know the name or the encoding is
// not single-byte. Each table is built once.
const std::optional<std::array<int, 256>>& SingleByteTable(const char* name);

}  // namespace Platform
