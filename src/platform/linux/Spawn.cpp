#include "platform/linux/Spawn.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

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

}  // namespace

pid_t Spawn(const char* path, const std::vector<std::string>& arguments, const SpawnOptions& options)
{
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return 0;
    if (posix_spawnattr_init(&attributes) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return 0;
    }
    if (options.standardInput >= 0)
        posix_spawn_file_actions_adddup2(&actions, options.standardInput, 0);
    if (options.standardOutput >= 0)
        posix_spawn_file_actions_adddup2(&actions, options.standardOutput, 1);
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    if (options.workingDirectory)
        posix_spawn_file_actions_addchdir_np(&actions, options.workingDirectory);

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

int WaitFor(pid_t process)
{
    int status = 0;
    while (waitpid(process, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return status;
}

}  // namespace Platform
