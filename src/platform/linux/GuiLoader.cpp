// Loads the GTK backend, a module beside the executable, on first use only:
// a run that shows no box never pays for the toolkit.

#include <dlfcn.h>

#include <cstdlib>
#include <stdexcept>

#include "launch/PathHelpers.h"
#include "platform/Gui.h"

namespace Platform {
namespace {

inline constexpr char moduleFileName[] = "libvantrelz-gtk.so";

bool HasDisplay()
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
}

Gui* Load()
{
    if (!HasDisplay())
        return nullptr;
    std::string path;
    try {
        path = PathHelpers::GetModuleDirectory() + moduleFileName;
    } catch (const std::runtime_error&) {
        return nullptr;  // no box then; the run goes on
    }
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module)
        return nullptr;
    const auto entry = reinterpret_cast<GuiEntry>(dlsym(module, guiEntryName));
    return entry ? entry() : nullptr;
}

}  // namespace

Gui* LoadGui()
{
    static Gui* const gui = Load();
    return gui;
}

}  // namespace Platform
