#include "platform/linux/SingleByteEncodings.h"

#include <iconv.h>

#include <cctype>
#include <cerrno>
#include <map>
#include <mutex>
#include <string>

namespace Platform {
namespace {

std::optional<std::array<int, 256>> BuildTable(const std::string& name)
{
    const iconv_t converter = iconv_open("UTF-32LE", name.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::array<int, 256> table{};
    bool singleByte = true;
    for (int byte = 0; byte < 256 && singleByte; ++byte) {
        iconv(converter, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        char in = static_cast<char>(byte);
        unsigned char out[8] = {};
        char* inPointer = &in;
        char* outPointer = reinterpret_cast<char*>(out);
        std::size_t inLeft = 1;
        std::size_t outLeft = sizeof out;
        const std::size_t done = iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft);
        if (done == static_cast<std::size_t>(-1)) {
            // EINVAL: the byte starts a longer sequence, so the encoding is
            // not single-byte; EILSEQ: the byte means nothing.
            singleByte = errno != EINVAL;
            table[byte] = -1;
        } else if (sizeof out - outLeft == 4) {
            table[byte] = static_cast<int>(out[0] | out[1] << 8 | out[2] << 16 | out[3] << 24);
        } else {
            singleByte = false;  // one byte, several characters
        }
    }
    iconv_close(converter);
    if (!singleByte)
        return std::nullopt;
    return table;
}

}  // namespace

const std::optional<std::array<int, 256>>& SingleByteTable(const char* name)
{
    static std::mutex lock;
    static std::map<std::string, std::optional<std::array<int, 256>>> tables;
    std::string key = name;
    for (char& c : key)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::lock_guard<std::mutex> guard(lock);
    auto found = tables.find(key);
    if (found == tables.end())
        found = tables.emplace(key, BuildTable(key)).first;
    return found->second;
}

}  // namespace Platform
