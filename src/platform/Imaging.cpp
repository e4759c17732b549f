#include "platform/Imaging.h"

// The imaging layer under the windowing backend (GdkPixbuf and cairo) needs
// no start-up of its own; the count keeps the ordering that callers rely on
// visible and checkable: bitmaps are released while a start-up is held.

#include <set>

namespace Platform {
namespace {
std::set<ImagingToken>& LiveTokens()
{
    static std::set<ImagingToken> live;
    return live;
}
ImagingToken lastToken = 0;
}  // namespace

std::int32_t ImagingStartup(ImagingToken& token)
{
    token = ++lastToken;
    LiveTokens().insert(token);
    return 0;
}

void ImagingShutdown(ImagingToken token) { LiveTokens().erase(token); }

int ImagingUsers() { return static_cast<int>(LiveTokens().size()); }

}  // namespace Platform
