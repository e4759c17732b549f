#include "platform/linux/ProxyEnvironment.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>

namespace Platform {
namespace {

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
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
    const auto at = rest.rfind('@');
    if (at != std::string::npos)
        rest.erase(0, at + 1);

    ProxyAddress address;
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

ProxyChoice ProxyFromEnvironment(const std::string& host)
{
    const char* httpProxy = Environment("http_proxy");
    const char* noProxy = Environment("no_proxy");
    if (!noProxy)
        noProxy = Environment("NO_PROXY");
    return ChooseProxy(host, httpProxy ? httpProxy : "", noProxy ? noProxy : "");
}

}  // namespace Platform
