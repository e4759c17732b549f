#include "platform/linux/gtk/GtkDialog.h"

#include <gdk/gdkwayland.h>
#include <gdk/gdkx.h>

#include <cmath>
#include <cstdlib>

#include "base/FloorHalf.h"
#include "base/Utf8.h"
#include "platform/DialogReport.h"

namespace GtkBackend {
namespace {

// "&" marks the mnemonic letter and "&&" is a literal "&"; GTK marks it
// with "_", so a literal "_" is doubled.
std::string MnemonicLabel(const std::wstring& caption)
{
    std::wstring label;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&') {
            if (i + 1 < caption.size() && caption[i + 1] == L'&') {
                label += L'&';
                ++i;
            } else {
                label += L'_';
            }
        } else if (caption[i] == L'_') {
            label += L"__";
        } else {
            label += caption[i];
        }
    }
    return Utf8::FromWide(label);
}

}  // namespace

GtkPushButton::GtkPushButton(GtkLayout* layout, const std::wstring& caption, const Platform::Rect& bounds,
                             std::int32_t id, Platform::DialogEvents& events)
    : layout(layout), button(gtk_button_new_with_mnemonic(MnemonicLabel(caption).c_str())), id(id), bounds(bounds)
{
    gtk_widget_set_name(button, ("button-" + std::to_string(id)).c_str());
    g_object_set_data(G_OBJECT(button), "vantrelz-id", GINT_TO_POINTER(id));
    g_signal_connect(button, "clicked", G_CALLBACK(+[](GtkButton* b, gpointer data) {
                         static_cast<Platform::DialogEvents*>(data)->OnCommand(
                             GPOINTER_TO_INT(g_object_get_data(G_OBJECT(b), "vantrelz-id")));
                     }),
                     &events);
    g_signal_connect(button, "destroy", G_CALLBACK(gtk_widget_destroyed), &this->button);
    gtk_widget_set_size_request(button, bounds.Width(), bounds.Height());
    gtk_layout_put(layout, button, bounds.left, bounds.top);
    gtk_widget_show(button);
}

void GtkPushButton::Place(const Platform::Rect& newBounds)
{
    bounds = newBounds;
    if (!button)
        return;
    gtk_widget_set_size_request(button, bounds.Width(), bounds.Height());
    gtk_layout_move(layout, button, bounds.left, bounds.top);
}

void GtkPushButton::SetFont(Platform::Font* font)
{
    GtkWidget* label = button ? gtk_bin_get_child(GTK_BIN(button)) : nullptr;
    if (!label || !GTK_IS_LABEL(label))
        return;
    PangoAttrList* attributes = pango_attr_list_new();
    if (auto* gtkFont = dynamic_cast<GtkFont*>(font))
        pango_attr_list_insert(attributes, pango_attr_font_desc_new(gtkFont->Pango()));
    gtk_label_set_attributes(GTK_LABEL(label), attributes);
    pango_attr_list_unref(attributes);
}

GtkDialogWindow::GtkDialogWindow(const Platform::DialogTemplate& dialogTemplate, Platform::DialogEvents& events)
    : events(events), window(gtk_window_new(GTK_WINDOW_TOPLEVEL)), layout(GTK_LAYOUT(gtk_layout_new(nullptr, nullptr))),
      loop(g_main_loop_new(nullptr, FALSE))
{
    g_object_ref_sink(window);
    gtk_window_set_title(GTK_WINDOW(window), Utf8::FromWide(dialogTemplate.title).c_str());
    gtk_window_set_type_hint(GTK_WINDOW(window), GDK_WINDOW_TYPE_HINT_DIALOG);
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    gtk_window_set_modal(GTK_WINDOW(window), TRUE);
    if (dialogTemplate.extendedStyle & Platform::extendedStyleTopmost)
        gtk_window_set_keep_above(GTK_WINDOW(window), TRUE);

    font = Platform::FontDescription{};
    font->faceName = dialogTemplate.fontFace;
    // The template's points at the desktop's font resolution, as the system
    // converts them at its own (Xft.dpi, GDK_DPI_SCALE, text scaling).
    font->height = -static_cast<std::int32_t>(std::lround(dialogTemplate.pointSize * FontResolution() / 72.0));
    font->weight = dialogTemplate.weight;
    font->italic = dialogTemplate.italic;
    font->charSet = dialogTemplate.charSet;

    // The template's size is in dialog units of its font.
    CairoContext measure;
    GtkFont templateFont(*font);
    measure.SelectFont(&templateFont);
    const Platform::Size letters = measure.MeasureText(L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const std::int32_t baseWidth = (letters.cx / 26 + 1) / 2;
    content = {dialogTemplate.cx * baseWidth / 4, dialogTemplate.cy * letters.cy / 8};
    requested = {0, 0, content.cx, content.cy};

    gtk_widget_set_size_request(GTK_WIDGET(layout), content.cx, content.cy);
    gtk_widget_add_events(GTK_WIDGET(layout), GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                                  GDK_POINTER_MOTION_MASK);
    gtk_container_add(GTK_CONTAINER(window), GTK_WIDGET(layout));
    accessible.emplace(window, layout, events);
    g_signal_connect(layout, "draw", G_CALLBACK(OnDraw), this);
    g_signal_connect(layout, "button-release-event", G_CALLBACK(OnButtonRelease), this);
    g_signal_connect(layout, "motion-notify-event", G_CALLBACK(OnMotion), this);
    g_signal_connect(window, "key-press-event", G_CALLBACK(OnKeyPress), this);
    g_signal_connect(window, "delete-event", G_CALLBACK(OnDelete), this);
    g_signal_connect(window, "map-event", G_CALLBACK(OnMap), this);
    // The report follows the keyboard focus: a box takes keys once active.
    g_signal_connect(window, "notify::is-active", G_CALLBACK(+[](GObject*, GParamSpec*, gpointer self) {
                         if (static_cast<GtkDialogWindow*>(self)->onScreenSeen)
                             static_cast<GtkDialogWindow*>(self)->WriteReport();
                     }),
                     this);
    gtk_widget_realize(window);
}

GtkDialogWindow::~GtkDialogWindow()
{
    if (handCursor)
        g_object_unref(handCursor);
    gtk_widget_destroy(window);
    g_object_unref(window);
    g_main_loop_unref(loop);
    // Let the display see the window go before the caller moves on.
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    gdk_display_flush(gdk_display_get_default());
}

std::int32_t GtkDialogWindow::Run()
{
    gtk_widget_show_all(window);
    // The first button is the first tab stop: it has the focus, so that
    // Return presses it.
    for (const auto& weak : buttons) {
        if (const auto button = weak.lock()) {
            gtk_widget_grab_focus(button->Widget());
            break;
        }
    }
    running = true;
    g_main_loop_run(loop);
    running = false;
    gtk_widget_hide(window);
    return result;
}

void GtkDialogWindow::SetTitle(const std::wstring& title)
{
    gtk_window_set_title(GTK_WINDOW(window), Utf8::FromWide(title).c_str());
}

bool GtkDialogWindow::GetFont(Platform::FontDescription& description)
{
    if (!font)
        return false;
    description = *font;
    return true;
}

void GtkDialogWindow::SetFont(Platform::Font* newFont)
{
    if (newFont)
        font = newFont->Description();
    else
        font.reset();
}

std::vector<Platform::ChildWindow*> GtkDialogWindow::Children()
{
    // The newest child is at the top of the z-order.
    std::vector<Platform::ChildWindow*> children;
    for (auto it = buttons.rbegin(); it != buttons.rend(); ++it) {
        if (const auto button = it->lock())
            children.push_back(button.get());
    }
    return children;
}

Platform::Rect GtkDialogWindow::ClientRect() { return {0, 0, content.cx, content.cy}; }

Platform::Rect GtkDialogWindow::WindowRect()
{
    return {requested.left, requested.top, requested.left + content.cx + frame.left + frame.right,
            requested.top + content.cy + frame.top + frame.bottom};
}

std::unique_ptr<Platform::DrawingContext> GtkDialogWindow::GetDrawingContext()
{
    return std::make_unique<CairoContext>();
}

std::unique_ptr<Platform::Font> GtkDialogWindow::CreateFont(const Platform::FontDescription& description)
{
    return std::make_unique<GtkFont>(description);
}

boost::shared_ptr<Platform::ChildWindow> GtkDialogWindow::CreatePushButton(const std::wstring& caption,
                                                                           const Platform::Rect& bounds,
                                                                           std::int32_t id)
{
    boost::shared_ptr<GtkPushButton> button(new GtkPushButton(layout, caption, bounds, id, events));
    buttons.push_back(button);
    return button;
}

std::optional<Platform::Rect> GtkDialogWindow::ReferenceRect()
{
    // No main window at start-up: the desktop, that is the primary monitor.
    GdkMonitor* monitor = PrimaryMonitor();
    if (!monitor)
        return std::nullopt;
    GdkRectangle area;
    gdk_monitor_get_geometry(monitor, &area);
    return Platform::Rect{area.x, area.y, area.x + area.width, area.y + area.height};
}

void GtkDialogWindow::Move(const Platform::Rect& rect)
{
    requested = rect;
    content = {std::max(1, rect.Width() - frame.left - frame.right),
               std::max(1, rect.Height() - frame.top - frame.bottom)};
    gtk_widget_set_size_request(GTK_WIDGET(layout), content.cx, content.cy);
    gtk_window_resize(GTK_WINDOW(window), content.cx, content.cy);
    gtk_window_move(GTK_WINDOW(window), rect.left, rect.top);
}

// The window manager's frame becomes known only once the window is mapped;
// the box keeps its content size and is centred again with the frame.
void GtkDialogWindow::ApplyFrame()
{
    GdkWindow* gdkWindow = gtk_widget_get_window(window);
    if (!gdkWindow || frameApplied)
        return;
    GdkRectangle outer;
    gdk_window_get_frame_extents(gdkWindow, &outer);
    int x = 0, y = 0;
    gdk_window_get_origin(gdkWindow, &x, &y);
    const Platform::Rect extents = {x - outer.x, y - outer.y, outer.x + outer.width - x - content.cx,
                                    outer.y + outer.height - y - content.cy};
    frameApplied = true;
    if (extents.left <= 0 && extents.top <= 0)
        return;
    frame = extents;
    // Centred again as a whole, frame included: one division over the
    // reference, as the first placement was made.
    const std::int32_t outerWidth = content.cx + frame.left + frame.right;
    const std::int32_t outerHeight = content.cy + frame.top + frame.bottom;
    const std::optional<Platform::Rect> reference = ReferenceRect();
    const std::int32_t left = reference ? reference->left + FloorHalf(reference->Width() - outerWidth)
                                        : requested.left;
    const std::int32_t top = reference ? reference->top + FloorHalf(reference->Height() - outerHeight)
                                       : requested.top;
    requested = {left, top, left + outerWidth, top + outerHeight};
    gtk_window_move(GTK_WINDOW(window), left, top);
}

std::uint32_t GtkDialogWindow::WindowTextColor()
{
    if (!textColor && gtk_widget_get_realized(window)) {
        GdkRGBA color;
        gtk_style_context_get_color(gtk_widget_get_style_context(window), GTK_STATE_FLAG_NORMAL, &color);
        const auto channel = [](double c) { return static_cast<std::uint32_t>(std::lround(c * 255)); };
        textColor = channel(color.red) | channel(color.green) << 8 | channel(color.blue) << 16;
    }
    return textColor.value_or(0);
}

void GtkDialogWindow::SetLinkPointer(bool overLink)
{
    GdkWindow* bin = gtk_layout_get_bin_window(layout);
    if (!bin || overLink == pointerOverLink)
        return;
    pointerOverLink = overLink;
    if (overLink && !handCursor)
        handCursor = gdk_cursor_new_from_name(gdk_window_get_display(bin), "pointer");
    gdk_window_set_cursor(bin, overLink ? handCursor : nullptr);
}

void GtkDialogWindow::SetAccessibleMessage(const Platform::AccessibleMessage& message) { accessible->Set(message); }

void GtkDialogWindow::EndDialog(std::int32_t value)
{
    result = value;
    if (running)
        g_main_loop_quit(loop);
}

gboolean GtkDialogWindow::OnDraw(GtkWidget* widget, cairo_t* cr, gpointer data)
{
    auto* self = static_cast<GtkDialogWindow*>(data);
    if (!gtk_cairo_should_draw_window(cr, gtk_layout_get_bin_window(GTK_LAYOUT(widget))))
        return FALSE;
    {
        CairoContext dc(cr);
        self->events.OnPaint(dc);
    }
    self->accessible->DrawFocus(cr);
    if (!self->onScreenSeen) {
        self->onScreenSeen = true;
        g_idle_add(+[](gpointer d) -> gboolean {
            static_cast<GtkDialogWindow*>(d)->OnScreen();
            return G_SOURCE_REMOVE;
        }, self);
    }
    return FALSE;  // the buttons are drawn after
}

gboolean GtkDialogWindow::OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer data)
{
    if (event->keyval != GDK_KEY_Escape)
        return FALSE;
    static_cast<GtkDialogWindow*>(data)->events.OnCommand(2);
    return TRUE;
}

gboolean GtkDialogWindow::OnDelete(GtkWidget*, GdkEvent*, gpointer data)
{
    static_cast<GtkDialogWindow*>(data)->events.OnCommand(2);
    return TRUE;  // the window stays until the run ends
}

gboolean GtkDialogWindow::OnButtonRelease(GtkWidget*, GdkEventButton* event, gpointer data)
{
    if (event->button == 1)
        static_cast<GtkDialogWindow*>(data)->events.OnLButtonUp(
            {static_cast<std::int32_t>(event->x), static_cast<std::int32_t>(event->y)});
    return FALSE;
}

gboolean GtkDialogWindow::OnMotion(GtkWidget*, GdkEventMotion* event, gpointer data)
{
    static_cast<GtkDialogWindow*>(data)->events.OnMouseMove(
        {static_cast<std::int32_t>(event->x), static_cast<std::int32_t>(event->y)});
    return FALSE;
}

gboolean GtkDialogWindow::OnMap(GtkWidget* widget, GdkEvent*, gpointer data)
{
    auto* self = static_cast<GtkDialogWindow*>(data);
    // Placement, frames and focus stealing exist only on X11; a Wayland
    // compositor places and focuses the window itself (and presenting it
    // there on every map maps it again and again).
    if (!GDK_IS_X11_WINDOW(gtk_widget_get_window(widget)))
        return FALSE;
    // Without a window manager keys reach only a window that asks for them.
    if (!self->presented) {
        self->presented = true;
        gtk_window_present(GTK_WINDOW(widget));
    }
    self->ApplyFrame();
    return FALSE;
}

void GtkDialogWindow::OnScreen()
{
    WriteReport();
    if (onScreen)
        onScreen();
}

// The face that the window's font resolves to on this machine.
std::string GtkDialogWindow::ResolvedFace()
{
    if (!font)
        return std::string();
    PangoFontDescription* wanted = ToPango(*font);
    PangoFont* loaded = pango_context_load_font(gtk_widget_get_pango_context(window), wanted);
    pango_font_description_free(wanted);
    if (!loaded)
        return std::string();
    PangoFontDescription* got = pango_font_describe(loaded);
    std::string family = pango_font_description_get_family(got) ?: "";
    pango_font_description_free(got);
    g_object_unref(loaded);
    return family;
}

// The box's report for tests and QA, once it is on screen and again when it
// gains or loses the keyboard.
void GtkDialogWindow::WriteReport()
{
    GdkWindow* gdkWindow = gtk_widget_get_window(window);
    if (!gdkWindow || !Platform::DialogReportWanted())
        return;
    Platform::DialogReport report;
    report.title = gtk_window_get_title(GTK_WINDOW(window)) ?: "";
    const bool x11 = GDK_IS_X11_WINDOW(gdkWindow);
    report.backend = x11 ? "x11" : GDK_IS_WAYLAND_WINDOW(gdkWindow) ? "wayland" : "other";
    report.windowId = x11 ? GDK_WINDOW_XID(gdkWindow) : 0;
    gdk_window_get_origin(gdkWindow, &report.clientOrigin.x, &report.clientOrigin.y);
    GtkAllocation allocation;
    gtk_widget_get_allocation(window, &allocation);
    report.clientSize = {allocation.width, allocation.height};
    report.requested = requested;
    report.frame = frame;
    report.keepAbove = gdk_window_get_state(gdkWindow) & GDK_WINDOW_STATE_ABOVE;
    report.face = ResolvedFace();
    if (font) {
        CairoContext measure;
        GtkFont dialogFont(*font);
        measure.SelectFont(&dialogFont);
        report.lineHeight = measure.MeasureText(L"").cy;
    }
    report.iconPixels = LoadedIconPixels();
    for (const auto& weak : buttons) {
        const auto button = weak.lock();
        if (!button || !button->Widget())
            continue;
        GtkAllocation b;
        gtk_widget_get_allocation(button->Widget(), &b);
        int x = 0, y = 0;
        gtk_widget_translate_coordinates(button->Widget(), GTK_WIDGET(layout), 0, 0, &x, &y);
        report.buttons.push_back({button->Id(), gtk_button_get_label(GTK_BUTTON(button->Widget())) ?: "",
                                  {x, y, x + b.width, y + b.height}, button->Bounds(),
                                  static_cast<bool>(gtk_widget_has_focus(button->Widget()))});
    }
    Platform::WriteDialogReport(report);
}

}  // namespace GtkBackend
