// Processes, the executable's path and the desktop opener on Linux.

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Platform.h"
#include "strings/Utf8.h"

extern char** environ;

namespace Platform {
namespace {

std::vector<char*> ArgumentPointers(const std::vector<std::string>& arguments)
{
    std::vector<char*> pointers;
    pointers.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments)
        pointers.push_back(const_cast<char*>(argument.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

// posix_spawn with the launch rules of the launcher: every descriptor above
// the standard ones closed, the signal mask emptied and every signal back at
// its default disposition.
pid_t Spawn(const char* path, const std::vector<std::string>& arguments, const char* workingDirectory)
{
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return 0;
    if (posix_spawnattr_init(&attributes) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return 0;
    }
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    if (workingDirectory)
        posix_spawn_file_actions_addchdir_np(&actions, workingDirectory);

    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> argv = ArgumentPointers(arguments);
    pid_t pid = 0;
    if (posix_spawn(&pid, path, &actions, &attributes, argv.data(), environ) != 0)
        pid = 0;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

}  // namespace

std::size_t ReadModuleFileName(PathChar* buffer, std::size_t size)
{
    const ssize_t length = readlink("/proc/self/exe", buffer, size);
    return length < 0 ? 0 : static_cast<std::size_t>(length);
}

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
    return Spawn(applicationName.c_str(), commandLine, workingDirectory.c_str());
}

void CloseProcess(ProcessHandle)
{
    // A process id holds no resource; the product outlives the launcher.
}

void OpenWithShell(const std::wstring& target)
{
    // The shell starts the opener in the background and ends at once, so that
    // nothing is left for the launcher to reap while a box is still up.
    const std::vector<std::string> arguments = {
        "sh", "-c", "xdg-open \"$1\" >/dev/null 2>&1 &", "sh", Utf8::FromWide(target)};
    const pid_t shell = Spawn("/bin/sh", arguments, nullptr);
    if (shell == 0)
        return;
    int status = 0;
    while (waitpid(shell, &status, 0) < 0 && errno == EINTR) {
    }
}

struct ServiceScope::Saved {
    struct sigaction pipe = {};
};

// A peer that closes its socket early must fail the write, not end the
// launcher with SIGPIPE.
ServiceScope::ServiceScope() : saved(std::make_unique<Saved>())
{
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &saved->pipe);
}

ServiceScope::~ServiceScope() { sigaction(SIGPIPE, &saved->pipe, nullptr); }

}  // namespace Platform
