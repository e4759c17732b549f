#include "platform/linux/gtk/GtkAccessibleMessage.h"

#include "base/Utf8.h"

namespace GtkBackend {
namespace {

std::string Escaped(const std::wstring& text)
{
    const std::string utf8 = Utf8::FromWide(text);
    gchar* escaped = g_markup_escape_text(utf8.c_str(), static_cast<gssize>(utf8.size()));
    std::string result = escaped;
    g_free(escaped);
    return result;
}

// The message as label markup: each link a link of the label.
std::string Markup(const Platform::AccessibleMessage& message)
{
    std::string markup;
    for (const auto& run : message.runs) {
        if (run.target.empty())
            markup += Escaped(run.text);
        else
            markup += "<a href=\"" + Escaped(run.target) + "\">" + Escaped(run.text) + "</a>";
    }
    return markup;
}

gboolean PaintNothing(GtkWidget*, cairo_t*, gpointer) { return TRUE; }

// The label's own input window (it has one for its links) would take the
// pointer from the painted links underneath: hidden once the label is
// mapped, the pointer reaches the box.
void HideInputWindows(GtkWidget* label, gpointer)
{
    GdkWindow* parent = gtk_widget_get_window(label);
    for (GList* child = parent ? gdk_window_peek_children(parent) : nullptr; child; child = child->next) {
        gpointer owner = nullptr;
        gdk_window_get_user_data(GDK_WINDOW(child->data), &owner);
        if (owner == label)
            gdk_window_hide(GDK_WINDOW(child->data));
    }
}

}  // namespace

GtkAccessibleMessage::GtkAccessibleMessage(GtkWidget* window, GtkLayout* layout, Platform::DialogEvents& events)
    : window(window), layout(layout), events(events), icon(gtk_image_new()), label(gtk_label_new(nullptr))
{
    for (GtkWidget* widget : {icon, label}) {
        gtk_widget_set_no_show_all(widget, TRUE);
        g_signal_connect(widget, "draw", G_CALLBACK(PaintNothing), nullptr);
        gtk_layout_put(layout, widget, 0, 0);
    }
    gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
    gtk_label_set_xalign(GTK_LABEL(label), 0);
    gtk_label_set_yalign(GTK_LABEL(label), 0);
    g_signal_connect(label, "activate-link", G_CALLBACK(OnActivateLink), this);
    // The focus is shown around the painted message.
    for (const char* signal : {"focus-in-event", "focus-out-event"})
        g_signal_connect_swapped(label, signal, G_CALLBACK(+[](GtkWidget* layout) {
                                     gtk_widget_queue_draw(layout);
                                     return FALSE;
                                 }),
                                 layout);
    g_signal_connect_after(label, "map", G_CALLBACK(HideInputWindows), nullptr);
}

void GtkAccessibleMessage::Set(const Platform::AccessibleMessage& message)
{
    // An alert: a screen reader reads the whole box when it appears.
    AtkObject* box = gtk_widget_get_accessible(window);
    atk_object_set_role(box, ATK_ROLE_ALERT);
    atk_object_set_name(box, Utf8::FromWide(message.name).c_str());

    // With links the label takes the keyboard focus, first in Tab order
    // (it is at the top): a screen reader's user, or anyone on the keyboard,
    // reaches a link and opens it with Return.
    gtk_label_set_markup(GTK_LABEL(label), Markup(message).c_str());
    textArea = message.textArea;
    gtk_widget_set_size_request(label, message.textArea.Width(), message.textArea.Height());
    gtk_layout_move(layout, label, message.textArea.left, message.textArea.top);
    gtk_widget_set_no_show_all(label, FALSE);

    if (!message.iconName.empty()) {
        gtk_widget_set_size_request(icon, message.iconArea.Width(), message.iconArea.Height());
        gtk_layout_move(layout, icon, message.iconArea.left, message.iconArea.top);
        AtkObject* accessibleIcon = gtk_widget_get_accessible(icon);
        atk_object_set_name(accessibleIcon, Utf8::FromWide(message.iconName).c_str());
        atk_image_set_image_description(ATK_IMAGE(accessibleIcon), Utf8::FromWide(message.iconName).c_str());
        gtk_widget_set_no_show_all(icon, FALSE);
    }
}

void GtkAccessibleMessage::DrawFocus(cairo_t* cr) const
{
    if (!gtk_widget_has_focus(label))
        return;
    gtk_render_focus(gtk_widget_get_style_context(label), cr, textArea.left - 2, textArea.top - 1,
                     textArea.Width() + 4, textArea.Height() + 2);
}

// A link activated from the keyboard or by assistive technology: opened as
// a click opens it.
gboolean GtkAccessibleMessage::OnActivateLink(GtkLabel*, const gchar* uri, gpointer data)
{
    static_cast<GtkAccessibleMessage*>(data)->events.OnLinkActivated(Utf8::ToWide(uri));
    return TRUE;
}

}  // namespace GtkBackend
