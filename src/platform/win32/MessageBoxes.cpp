// Message boxes on Windows run in the launcher's own process, on the dialog
// manager, GDI and GDI+.

#include <windows.h>

#include "platform/MessageBoxHost.h"
#include "platform/win32/Win32Dialog.h"
#include "platform/win32/Win32Drawing.h"

namespace Platform {
namespace {

class Win32Gui : public Gui {
public:
    std::int32_t RunModal(const DialogTemplate& dialogTemplate, WindowHandle parent, DialogEvents& events) override
    {
        const std::int32_t result = Win32Backend::RunDialog(dialogTemplate.id, static_cast<HWND>(parent), events);
        events.OnDestroyed();
        return result;
    }

    std::unique_ptr<SystemIcon> LoadSystemIcon(std::int32_t kind) override
    {
        static const LPCWSTR names[] = {nullptr, IDI_HAND, IDI_EXCLAMATION, IDI_ASTERISK, IDI_QUESTION};
        if (kind < 1 || kind > 4)
            return nullptr;
        const HICON icon = LoadIconW(nullptr, names[kind]);
        return icon ? std::make_unique<Win32Backend::Win32Icon>(icon) : nullptr;
    }
};

}  // namespace

std::int32_t RunMessageBox(const MessageBoxRequest& request, WindowHandle parent, ShowInProcess showInProcess)
{
    return showInProcess(request, parent);
}

Gui* LoadGui()
{
    static Win32Gui gui;
    return &gui;
}

}  // namespace Platform
