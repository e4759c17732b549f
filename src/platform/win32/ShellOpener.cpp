// The shell's opener on Windows.

#include <windows.h>
#include <shellapi.h>

#include "platform/Platform.h"

namespace Platform {

void OpenWithShell(const std::wstring& target)
{
    ShellExecuteW(nullptr, nullptr, target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace Platform
