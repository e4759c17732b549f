// The imaging layer on Linux: GdkPixbuf and cairo need no start-up.

#include "platform/Imaging.h"

namespace Platform {

std::int32_t ImagingStartup(ImagingToken& token)
{
    token = 1;
    return 0;
}

void ImagingShutdown(ImagingToken) {}

}  // namespace Platform
