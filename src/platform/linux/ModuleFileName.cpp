// The running executable's path on Linux.

#include <unistd.h>

#include "platform/Platform.h"

namespace Platform {

std::size_t ReadModuleFileName(PathChar* buffer, std::size_t size)
{
    const ssize_t length = readlink("/proc/self/exe", buffer, size);
    return length < 0 ? 0 : static_cast<std::size_t>(length);
}

}  // namespace Platform
