// The running executable's path on Windows.

#include <windows.h>

#include "platform/Platform.h"

namespace Platform {

std::size_t ReadModuleFileName(PathChar* buffer, std::size_t size)
{
    return GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(size));
}

}  // namespace Platform
