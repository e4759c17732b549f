#pragma once
// What the null backend lets a test see of itself.

#include <string>
#include <vector>

namespace NullPlatform {

// How many imaging start-ups are not yet shut down.
int ImagingUsers();

// What was handed to the shell to open, oldest first; a test may clear it.
std::vector<std::wstring>& OpenedWithShell();

}  // namespace NullPlatform
