// The process-wide services of the launcher's start-up on Windows: the
// common controls, and COM for the version service's XML reader.

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "platform/Platform.h"

namespace Platform {

void InitializeControls()
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    static_assert(sizeof controls == 8 && ICC_WIN95_CLASSES == 0xFF);
    InitCommonControlsEx(&controls);
}

struct ServiceScope::Saved {};

ServiceScope::ServiceScope() { CoInitialize(nullptr); }

ServiceScope::~ServiceScope() { CoUninitialize(); }

}  // namespace Platform
