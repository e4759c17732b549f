#pragma once
// What the box paints itself, told to assistive technology through ATK: the
// window is an alert with a name, the icon an image with its name, and the
// message a label holding the whole text with its links. The label and the
// icon are real widgets over what the dialog paints; they paint nothing and
// take no pointer input, so the box looks and behaves as painted. A link is
// reached with the keyboard through the label, which then shows its focus
// around the painted message.

#include <gtk/gtk.h>

#include "platform/Gui.h"

namespace GtkBackend {

class GtkAccessibleMessage {
public:
    // Adds the (still empty) icon and label to the layout; call before any
    // button is added, so that assistive technology reads the message
    // first.
    GtkAccessibleMessage(GtkWidget* window, GtkLayout* layout, Platform::DialogEvents& events);

    void Set(const Platform::AccessibleMessage& message);
    // Around the painted message when the label (a link in it) has the
    // keyboard focus, on the layout's cairo context.
    void DrawFocus(cairo_t* cr) const;

private:
    static gboolean OnActivateLink(GtkLabel*, const gchar* uri, gpointer self);

    GtkWidget* window;
    GtkLayout* layout;
    Platform::DialogEvents& events;
    GtkWidget* icon;   // owned by the layout
    GtkWidget* label;  // owned by the layout
    Platform::Rect textArea;
};

}  // namespace GtkBackend
