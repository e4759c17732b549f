#pragma once
// Command-line text as the Windows backend sees it: the launcher's argument
// text cut from its own command line, and the product's command line built
// from it.

#include <string>

namespace WindowsCommandLine {

// The command line without the program name and the blanks after it; the rest
// stands unchanged, quotes included. A double quote switches in and out of a
// quoted name; a code unit at or below U+0020 outside quotes ends the name.
std::wstring ArgumentText(const std::wstring& commandLine);

// "\"", the application name, "\" ", then the argument text: nothing added,
// removed or escaped.
std::wstring ProductCommandLine(const std::wstring& applicationName, const std::wstring& argumentText);

}  // namespace WindowsCommandLine
