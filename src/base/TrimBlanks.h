#pragma once
// Blanks, tabs and line ends (XML's white space) cut from both ends.

#include <string>

inline std::wstring TrimBlanks(const std::wstring& text)
{
    const wchar_t* blanks = L" \t\r\n";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::wstring::npos)
        return std::wstring();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}
