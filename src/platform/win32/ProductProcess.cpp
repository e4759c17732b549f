// The product's process on Windows: its command line and its start.

#include <windows.h>

#include "base/CommandLine.h"
#include "platform/Platform.h"

#if defined(_M_IX86) || defined(__i386__)
// The system's own target: the structures as the system lays them out.
static_assert(sizeof(STARTUPINFOW) == 68);
static_assert(sizeof(SECURITY_ATTRIBUTES) == 12);
#endif

namespace Platform {

CommandLine MakeCommandLine(const NativeString& applicationName, const ProductArguments& arguments)
{
    return WindowsCommandLine::ProductCommandLine(applicationName, arguments);
}

ProcessHandle StartProcess(const NativeString& applicationName, const CommandLine& commandLine,
                           const NativeString& workingDirectory)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    wchar_t desktop[] = L"WinSta0\\Default";
    startup.lpDesktop = desktop;
    SECURITY_ATTRIBUTES processAttributes = {sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    SECURITY_ATTRIBUTES threadAttributes = {sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    PROCESS_INFORMATION process = {};
    std::wstring line = commandLine;  // CreateProcessW may write into it
    if (!CreateProcessW(applicationName.c_str(), line.data(), &processAttributes, &threadAttributes, FALSE, 0,
                        nullptr, workingDirectory.c_str(), &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

void CloseProcess(ProcessHandle process) { CloseHandle(process); }

}  // namespace Platform
