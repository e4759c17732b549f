#include "platform/linux/ProxyEnvironment.h"

#include <arpa/inet.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <optional>
#include <vector>

namespace Platform {
namespace {

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

// A numeric address in network order: 4 bytes, or 16 for IPv6; none for a
// name.
std::optional<std::vector<unsigned char>> NumericAddress(std::string text)
{
    if (text.size() > 2 && text.front() == '[' && text.back() == ']')
        text = text.substr(1, text.size() - 2);
    std::array<unsigned char, 16> bytes{};
    if (inet_pton(AF_INET, text.c_str(), bytes.data()) == 1)
        return std::vector<unsigned char>(bytes.begin(), bytes.begin() + 4);
    if (inet_pton(AF_INET6, text.c_str(), bytes.data()) == 1)
        return std::vector<unsigned char>(bytes.begin(), bytes.end());
    return std::nullopt;
}

// Whether host is a numeric address inside the CIDR range entry.
bool InRange(const std::string& host, const std::string& entry)
{
    const auto slash = entry.find('/');
    const auto address = NumericAddress(host);
    const auto network = NumericAddress(entry.substr(0, slash));
    if (!address || !network || address->size() != network->size())
        return false;
    const std::string bitsText = entry.substr(slash + 1);
    unsigned bits = 0;
    const auto [end, error] = std::from_chars(bitsText.data(), bitsText.data() + bitsText.size(), bits);
    if (bitsText.empty() || error != std::errc() || end != bitsText.data() + bitsText.size() ||
        bits > address->size() * 8)
        return false;
    for (unsigned i = 0; i < bits; ++i) {
        const unsigned char mask = static_cast<unsigned char>(0x80u >> (i % 8));
        if (((*address)[i / 8] & mask) != ((*network)[i / 8] & mask))
            return false;
    }
    return true;
}

std::string PercentDecoded(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned value = 0;
        if (text[i] == '%' && i + 2 < text.size() &&
            std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16).ptr == text.data() + i + 3) {
            out += static_cast<char>(value);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string Base64(const std::string& bytes)
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        unsigned group = 0;
        for (std::size_t j = 0; j < 3; ++j)
            group = group << 8 | (j < n ? static_cast<unsigned char>(bytes[i + j]) : 0u);
        for (std::size_t j = 0; j < 4; ++j)
            out += j <= n ? alphabet[group >> (18 - 6 * j) & 0x3F] : '=';
    }
    return out;
}

bool Bypassed(const std::string& host, const std::string& noProxy)
{
    const std::string name = Lower(host);
    std::size_t i = 0;
    while (i < noProxy.size()) {
        const std::size_t end = noProxy.find_first_of(", \t", i);
        std::string entry = Lower(noProxy.substr(i, end == std::string::npos ? end : end - i));
        i = end == std::string::npos ? noProxy.size() : end + 1;
        if (entry == "*")
            return true;
        while (!entry.empty() && entry.front() == '.')
            entry.erase(0, 1);
        while (!entry.empty() && entry.back() == '.')
            entry.pop_back();
        if (entry.empty())
            continue;
        if (entry.find('/') != std::string::npos) {
            if (InRange(name, entry))
                return true;
            continue;
        }
        if (name == entry)
            return true;
        if (name.size() > entry.size() && name.compare(name.size() - entry.size(), entry.size(), entry) == 0 &&
            name[name.size() - entry.size() - 1] == '.')
            return true;
    }
    return false;
}

const char* Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

}  // namespace

ProxyChoice ChooseProxy(const std::string& host, const std::string& httpProxy, const std::string& noProxy)
{
    ProxyChoice choice;
    if (httpProxy.empty() || Bypassed(host, noProxy))
        return choice;

    std::string rest = httpProxy;
    const auto scheme = rest.find("://");
    if (scheme != std::string::npos) {
        if (Lower(rest.substr(0, scheme)) != "http") {
            choice.unusable = true;
            return choice;
        }
        rest.erase(0, scheme + 3);
    }
    rest = rest.substr(0, rest.find('/'));
    ProxyAddress address;
    const auto at = rest.rfind('@');
    if (at != std::string::npos) {
        // As curl sends them: user and password decoded, a missing password
        // empty.
        const std::string userinfo = rest.substr(0, at);
        const auto colon = userinfo.find(':');
        const std::string user = PercentDecoded(userinfo.substr(0, colon));
        const std::string password = colon == std::string::npos ? "" : PercentDecoded(userinfo.substr(colon + 1));
        address.authorization = "Basic " + Base64(user + ":" + password);
        rest.erase(0, at + 1);
    }

    std::string port;
    if (!rest.empty() && rest.front() == '[') {
        const auto close = rest.find(']');
        if (close == std::string::npos) {
            choice.unusable = true;
            return choice;
        }
        address.host = rest.substr(1, close - 1);
        if (close + 1 < rest.size() && rest[close + 1] == ':')
            port = rest.substr(close + 2);
    } else {
        const auto colon = rest.find(':');
        address.host = rest.substr(0, colon);
        if (colon != std::string::npos)
            port = rest.substr(colon + 1);
    }
    if (!port.empty()) {
        unsigned value = 0;
        const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), value);
        if (error != std::errc() || end != port.data() + port.size() || value == 0 || value > 65535) {
            choice.unusable = true;
            return choice;
        }
        address.port = static_cast<unsigned short>(value);
    }
    if (address.host.empty()) {
        choice.unusable = true;
        return choice;
    }
    choice.proxy = address;
    return choice;
}

ProxyChoice ProxyFromEnvironment(const std::string& host, bool secure)
{
    const char* httpProxy = secure ? Environment("https_proxy") : Environment("http_proxy");
    if (secure && !httpProxy)
        httpProxy = Environment("HTTPS_PROXY");
    const char* noProxy = Environment("no_proxy");
    if (!noProxy)
        noProxy = Environment("NO_PROXY");
    return ChooseProxy(host, httpProxy ? httpProxy : "", noProxy ? noProxy : "");
}

}  // namespace Platform
