#include "update/DownloadAddress.h"

#include <cwctype>

std::optional<std::wstring> WebAddress(const std::wstring& address)
{
    const wchar_t* blanks = L" \t\r\n";
    const auto first = address.find_first_not_of(blanks);
    if (first == std::wstring::npos)
        return std::nullopt;
    const std::wstring trimmed = address.substr(first, address.find_last_not_of(blanks) - first + 1);

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
