// The desktop's opener on Linux: xdg-open.

#include "platform/Platform.h"
#include "platform/linux/Spawn.h"
#include "base/Utf8.h"

namespace Platform {

void OpenWithShell(const std::wstring& target)
{
    // The shell starts the opener in the background and ends at once, so that
    // nothing is left for the caller to reap while a box is still up.
    const std::vector<std::string> arguments = {
        "sh", "-c", "xdg-open \"$1\" >/dev/null 2>&1 &", "sh", Utf8::FromWide(target)};
    if (const pid_t shell = Spawn("/bin/sh", arguments))
        WaitFor(shell);
}

}  // namespace Platform
