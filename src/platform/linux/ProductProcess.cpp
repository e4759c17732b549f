// The product's process on Linux: its argument vector and its start.

#include "platform/Platform.h"
#include "platform/linux/Spawn.h"

namespace Platform {

CommandLine MakeCommandLine(const NativeString& applicationName, const ProductArguments& arguments)
{
    CommandLine commandLine;
    commandLine.reserve(arguments.size() + 1);
    commandLine.push_back(applicationName);
    commandLine.insert(commandLine.end(), arguments.begin(), arguments.end());
    return commandLine;
}

ProcessHandle StartProcess(const NativeString& applicationName, const CommandLine& commandLine,
                           const NativeString& workingDirectory)
{
    return Spawn(applicationName.c_str(), commandLine, {.workingDirectory = workingDirectory.c_str()});
}

void CloseProcess(ProcessHandle)
{
    // A process id holds no resource; the product outlives the launcher.
}

}  // namespace Platform
