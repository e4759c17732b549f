#pragma once
// posix_spawn with the launcher's rules for every process it starts.

#include <sys/types.h>

#include <string>
#include <vector>

namespace Platform {

struct SpawnOptions {
    const char* workingDirectory = nullptr;  // null: the launcher's own
    int standardInput = -1;                  // -1: inherited
    int standardOutput = -1;                 // -1: inherited
};

// Starts path with the arguments (its name first): every descriptor above
// the standard ones closed, the signal mask emptied and every signal back at
// its default disposition. Returns the process id, 0 on failure.
pid_t Spawn(const char* path, const std::vector<std::string>& arguments, const SpawnOptions& options = {});

// Waits for the process to end and returns its wait status.
int WaitFor(pid_t process);

}  // namespace Platform
