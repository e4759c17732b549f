// The imaging layer on Windows: GDI+, started and shut down per token.

#include <windows.h>
#include <gdiplus.h>

#include "platform/Imaging.h"

namespace Platform {

std::int32_t ImagingStartup(ImagingToken& token)
{
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR started = 0;
    const Gdiplus::Status status = Gdiplus::GdiplusStartup(&started, &input, nullptr);
    token = started;
    return static_cast<std::int32_t>(status);
}

void ImagingShutdown(ImagingToken token) { Gdiplus::GdiplusShutdown(token); }

}  // namespace Platform
