#include "base/CommandLine.h"

namespace WindowsCommandLine {

std::wstring ArgumentText(const std::wstring& commandLine)
{
    std::size_t i = 0;
    bool inQuotes = false;
    for (; i < commandLine.size(); ++i) {
        const wchar_t c = commandLine[i];
        if (c == L'"')
            inQuotes = !inQuotes;
        else if (c <= L' ' && !inQuotes)
            break;
    }
    while (i < commandLine.size() && commandLine[i] <= L' ')
        ++i;
    return commandLine.substr(i);
}

std::wstring ProductCommandLine(const std::wstring& applicationName, const std::wstring& argumentText)
{
    return L"\"" + applicationName + L"\" " + argumentText;
}

}  // namespace WindowsCommandLine
