#include "update/DownloadAddress.h"

#include <cwctype>

#include "base/TrimBlanks.h"

std::optional<std::wstring> WebAddress(const std::wstring& address)
{
    const std::wstring trimmed = TrimBlanks(address);
    if (trimmed.empty())
        return std::nullopt;

    std::wstring scheme;
    for (wchar_t c : trimmed.substr(0, trimmed.find(L':')))
        scheme += static_cast<wchar_t>(std::towlower(c));
    const auto rest = trimmed.find(L"://");
    if ((scheme != L"http" && scheme != L"https") || rest != scheme.size() || rest + 3 >= trimmed.size())
        return std::nullopt;
    for (wchar_t c : trimmed) {
        if (c <= L' ' || c == 0x7F)
            return std::nullopt;
    }
    return trimmed;
}
