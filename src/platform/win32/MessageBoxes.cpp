// Message boxes on Windows run in the launcher's own process.

#include "platform/MessageBoxHost.h"

namespace Platform {

std::int32_t RunMessageBox(const MessageBoxRequest& request, WindowHandle parent, ShowInProcess showInProcess)
{
    return showInProcess(request, parent);
}

// No windowing backend yet: no box can be created.
Gui* LoadGui() { return nullptr; }

}  // namespace Platform
