// The process-wide state the update check needs on Linux.

#include <signal.h>

#include "platform/Platform.h"

namespace Platform {

// GTK's widgets need no registration.
void InitializeControls() {}

struct ServiceScope::Saved {
    struct sigaction pipe = {};
};

// A peer that closes its socket early (the version service, the box helper)
// must fail the write, not end the launcher with SIGPIPE.
ServiceScope::ServiceScope() : saved(std::make_unique<Saved>())
{
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &saved->pipe);
}

ServiceScope::~ServiceScope() { sigaction(SIGPIPE, &saved->pipe, nullptr); }

}  // namespace Platform
