// The GTK backend of the box helper: starts GTK on the display on first use,
// makes the dialog face available, and serves dialogs and system icons.

#include <fontconfig/fontconfig.h>
#include <gtk/gtk.h>

#include <algorithm>

#include "platform/MessageBoxHost.h"
#include "platform/linux/gtk/GtkDialog.h"

namespace GtkBackend {
namespace {

// Debian installs Tahoma with Wine's fonts, outside fontconfig's search
// path; where it is absent, fontconfig's substitute serves.
void RegisterDialogFace()
{
    for (const char* file : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"})
        FcConfigAppFontAddFile(FcConfigGetCurrent(), reinterpret_cast<const FcChar8*>(file));
}

// Buttons as large as the dialog makes them, not as the theme would.
void InstallStyle()
{
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, "button { min-height: 0; min-width: 0; padding: 0 2px; }", -1,
                                    nullptr);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(provider),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
}

class GtkGui : public Platform::Gui {
public:
    std::int32_t RunModal(const Platform::DialogTemplate& dialogTemplate, Platform::WindowHandle,
                          Platform::DialogEvents& events) override
    {
        std::int32_t result = -1;
        {
            GtkDialogWindow window(dialogTemplate, events);
            if (events.OnInitDialog(window))
                result = window.Run();
        }
        events.OnDestroyed();
        return result;
    }

    std::unique_ptr<Platform::SystemIcon> LoadSystemIcon(std::int32_t kind) override
    {
        static const char* const names[] = {nullptr, "dialog-error", "dialog-warning", "dialog-information",
                                            "dialog-question"};
        if (kind < 1 || kind > 4)
            return nullptr;
        // 32 x 32 logical pixels, loaded at the screen's scale so that it
        // stays sharp; forced to that size, as the theme may have no icons
        // of it.
        GdkMonitor* monitor = PrimaryMonitor();
        const int scale = monitor ? std::max(1, gdk_monitor_get_scale_factor(monitor)) : 1;
        GdkPixbuf* pixbuf = gtk_icon_theme_load_icon_for_scale(gtk_icon_theme_get_default(), names[kind], 32, scale,
                                                               GTK_ICON_LOOKUP_FORCE_SIZE, nullptr);
        if (!pixbuf)
            return nullptr;
        return std::make_unique<GtkIcon>(pixbuf, scale);
    }
};

}  // namespace
}  // namespace GtkBackend

namespace Platform {

Gui* LoadGui()
{
    static Gui* const gui = []() -> Gui* {
        GtkBackend::RegisterDialogFace();
        g_set_prgname("vantrelzip");
        if (!gtk_init_check(nullptr, nullptr))
            return nullptr;
        GtkBackend::InstallStyle();
        return new GtkBackend::GtkGui;
    }();
    return gui;
}

// The helper is where boxes run: here, in this process.
std::int32_t RunMessageBox(const MessageBoxRequest& request, WindowHandle parent, ShowInProcess showInProcess)
{
    return showInProcess(request, parent);
}

}  // namespace Platform
