#pragma once
// The launcher's platform layer: the few services of the operating system
// that the portable code needs, one small set of entry points per backend
// (platform/linux now). Nothing above this layer includes a system header.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "base/PathRules.h"

namespace Platform {

#ifdef _WIN32
using PathChar = wchar_t;
inline constexpr PathRules::Style pathStyle = PathRules::Style::Windows;
// The argument text after the program name, and the product's command line.
using ProductArguments = std::wstring;
using CommandLine = std::wstring;
using ProcessHandle = void*;
#else
using PathChar = char;
inline constexpr PathRules::Style pathStyle = PathRules::Style::Posix;
// The arguments after the program name, byte for byte, and the product's
// argument vector (its own path first).
using ProductArguments = std::vector<std::string>;
using CommandLine = std::vector<std::string>;
using ProcessHandle = int;  // process id, 0 when none
#endif

using NativeString = std::basic_string<PathChar>;

// Writes the running executable's path into buffer. Returns the number of
// units written: size when the path was cut short, 0 when there is none.
std::size_t ReadModuleFileName(PathChar* buffer, std::size_t size);

// The product's command line: its path first, then the launcher's arguments
// unchanged.
CommandLine MakeCommandLine(const NativeString& applicationName, const ProductArguments& arguments);

// Starts a process and lets go of it: no handle or descriptor but the
// standard ones is inherited, nothing is waited for. Returns 0 on failure.
ProcessHandle StartProcess(const NativeString& applicationName, const CommandLine& commandLine,
                           const NativeString& workingDirectory);
void CloseProcess(ProcessHandle process);

// Hands an address to the desktop's opener. The outcome is not reported.
void OpenWithShell(const std::wstring& target);

// Makes the system's common controls available to the process's windows.
void InitializeControls();

// Holds the process-wide services that the update check needs for as long as
// it lives.
class ServiceScope {
public:
    ServiceScope();
    ~ServiceScope();
    ServiceScope(const ServiceScope&) = delete;
    ServiceScope& operator=(const ServiceScope&) = delete;

private:
    struct Saved;
    std::unique_ptr<Saved> saved;
};

}  // namespace Platform
