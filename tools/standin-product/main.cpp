// The stand-in for the product: shows what it was started with, and when
// VANTRELZ_STANDIN_REPORT names a file, writes there a JSON record
//   {"argv": [...], "cwd": "...", "open_fds": [...]}
// Bytes that are not UTF-8 appear as the escapes \udc80 to \udcff, one per
// byte, so that every argument can be read back exactly.

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// The descriptors open at start, read before anything else opens one.
std::vector<int> OpenDescriptors()
{
    std::vector<int> fds;
    DIR* dir = opendir("/proc/self/fd");
    if (!dir)
        return fds;
    const int own = dirfd(dir);
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const int fd = std::atoi(entry->d_name);
        if (fd != own)
            fds.push_back(fd);
    }
    closedir(dir);
    std::sort(fds.begin(), fds.end());
    return fds;
}

// Length of the valid UTF-8 sequence at s[i], or 0.
std::size_t Utf8Length(const std::string& s, std::size_t i)
{
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 0;
    if (length == 0 || i + length > s.size())
        return 0;
    unsigned long c = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(s[i + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (next & 0x3F);
    }
    static const unsigned long minimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < minimum[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return length;
}

std::string JsonString(const std::string& s)
{
    std::string out = "\"";
    char escape[8];
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t length = Utf8Length(s, i);
        if (length == 0) {
            std::snprintf(escape, sizeof escape, "\\udc%02x", c);
            out += escape;
            ++i;
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
            ++i;
        } else if (c < 0x20) {
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
            ++i;
        } else {
            out.append(s, i, length);
            i += length;
        }
    }
    return out + "\"";
}

std::string CurrentDirectory()
{
    std::vector<char> buffer(256);
    while (!getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE)
            return std::string();
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<int> fds = OpenDescriptors();
    const std::string cwd = CurrentDirectory();

    std::string record = "{\"argv\": [";
    for (int i = 0; i < argc; ++i)
        record += (i ? ", " : "") + JsonString(argv[i]);
    record += "], \"cwd\": " + JsonString(cwd) + ", \"open_fds\": [";
    for (std::size_t i = 0; i < fds.size(); ++i)
        record += (i ? ", " : "") + std::to_string(fds[i]);
    record += "]}\n";

    std::printf("Vantrel Zip (stand-in) started in %s\n", cwd.c_str());
    for (int i = 1; i < argc; ++i)
        std::printf("  argument %d: %s\n", i, JsonString(argv[i]).c_str());
    if (argc == 1)
        std::printf("  no arguments\n");
    std::fflush(stdout);

    if (const char* reportPath = std::getenv("VANTRELZ_STANDIN_REPORT")) {
        // A file is written aside and renamed, so that a reader never sees
        // half a record; anything else (/dev/null, a pipe) is written as it is.
        namespace fs = std::filesystem;
        std::error_code ec;
        const fs::file_type type = fs::status(reportPath, ec).type();
        const bool aside = type == fs::file_type::regular || type == fs::file_type::not_found;
        const std::string target = aside ? std::string(reportPath) + ".partial" : std::string(reportPath);
        FILE* report = std::fopen(target.c_str(), "w");
        const bool written = report && std::fputs(record.c_str(), report) >= 0;
        if (report)
            std::fclose(report);
        if (!written || (aside && std::rename(target.c_str(), reportPath) != 0)) {
            std::fprintf(stderr, "vantrelz.bim: cannot write %s: %s\n", reportPath, std::strerror(errno));
            return 1;
        }
    }
    return 0;
}
