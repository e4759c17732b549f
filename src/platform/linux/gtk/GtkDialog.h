#pragma once
// A modal dialog as a GtkWindow holding a GtkLayout: exact pixel sizes and
// positions for the content, which the dialog paints itself, and push
// buttons placed on it.

#include <gtk/gtk.h>

#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>
#include <functional>
#include <optional>
#include <vector>

#include "platform/Gui.h"
#include "platform/linux/gtk/GtkAccessibleMessage.h"
#include "platform/linux/gtk/GtkDrawing.h"

namespace GtkBackend {

class GtkPushButton : public Platform::ChildWindow {
public:
    GtkPushButton(GtkLayout* layout, const std::wstring& caption, const Platform::Rect& bounds, std::int32_t id,
                  Platform::DialogEvents& events);
    std::int32_t Id() const override { return id; }
    Platform::Rect Bounds() const override { return bounds; }
    void Place(const Platform::Rect& bounds) override;
    void SetFont(Platform::Font* font) override;
    GtkWidget* Widget() const { return button; }

private:
    GtkLayout* layout;
    GtkWidget* button;  // owned by the layout
    std::int32_t id;
    Platform::Rect bounds;
};

class GtkDialogWindow : public Platform::DialogWindow {
public:
    GtkDialogWindow(const Platform::DialogTemplate& dialogTemplate, Platform::DialogEvents& events);
    ~GtkDialogWindow() override;

    // Shows the window and runs until EndDialog; returns its result.
    std::int32_t Run();

    // Called once a dialog's window is on screen, drawn for the first time.
    static inline std::function<void()> onScreen;

    void SetTitle(const std::wstring& title) override;
    bool GetFont(Platform::FontDescription& description) override;
    void SetFont(Platform::Font* font) override;
    std::vector<Platform::ChildWindow*> Children() override;
    Platform::Rect ClientRect() override;
    Platform::Rect WindowRect() override;
    std::unique_ptr<Platform::DrawingContext> GetDrawingContext() override;
    std::unique_ptr<Platform::Font> CreateFont(const Platform::FontDescription& description) override;
    boost::shared_ptr<Platform::ChildWindow> CreatePushButton(const std::wstring& caption,
                                                              const Platform::Rect& bounds,
                                                              std::int32_t id) override;
    std::optional<Platform::Rect> ReferenceRect() override;
    void Move(const Platform::Rect& window) override;
    std::uint32_t WindowTextColor() override;
    void SetLinkPointer(bool overLink) override;
    void SetAccessibleMessage(const Platform::AccessibleMessage& message) override;
    void EndDialog(std::int32_t result) override;

private:
    static gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer self);
    static gboolean OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self);
    static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer self);
    static gboolean OnButtonRelease(GtkWidget*, GdkEventButton* event, gpointer self);
    static gboolean OnMotion(GtkWidget*, GdkEventMotion* event, gpointer self);
    static gboolean OnMap(GtkWidget*, GdkEvent*, gpointer self);

    void ApplyFrame();
    void OnScreen();
    void WriteReport();
    std::string ResolvedFace();

    Platform::DialogEvents& events;
    GtkWidget* window;
    GtkLayout* layout;
    GMainLoop* loop;
    std::optional<GtkAccessibleMessage> accessible;
    std::vector<boost::weak_ptr<GtkPushButton>> buttons;
    std::optional<Platform::FontDescription> font;  // the window's font; none: the system's
    Platform::Rect requested;                        // the last Move, frame included
    Platform::Size content;
    Platform::Rect frame;  // extents left, top, right, bottom; 0 until the window manager's are known
    bool frameApplied = false;
    bool onScreenSeen = false;
    bool presented = false;
    std::optional<std::uint32_t> textColor;
    std::int32_t result = 2;
    bool running = false;
    GdkCursor* handCursor = nullptr;
    bool pointerOverLink = false;
};

}  // namespace GtkBackend
