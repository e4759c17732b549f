#pragma once
// The windowing backend: modal dialogs made from templates, their push
// buttons, fonts, drawing contexts and system icons. It starts only when a
// box is to be shown; without a display or a backend there is none, and no
// dialog can be created.

#include <boost/shared_ptr.hpp>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/DrawingContext.h"
#include "platform/Imaging.h"

namespace Platform {

using WindowHandle = void*;  // an owner window, or null

// A dialog template: style bits as the system's, position and size in dialog
// units, and the dialog's own font.
struct DialogTemplate {
    std::uint16_t id = 0;
    std::uint32_t style = 0;
    std::uint32_t extendedStyle = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::wstring title;
    std::wstring fontFace;
    std::uint16_t pointSize = 0;
    std::uint16_t weight = 0;
    bool italic = false;
    std::uint8_t charSet = 0;
};

inline constexpr std::uint32_t extendedStyleTopmost = 0x00000008;

// One child window of a dialog; so far only push buttons.
class ChildWindow {
public:
    virtual ~ChildWindow() = default;
    virtual std::int32_t Id() const = 0;
    virtual Rect Bounds() const = 0;  // client coordinates of the parent
    // Moves and sizes it, at the top of the z-order.
    virtual void Place(const Rect& bounds) = 0;
    virtual void SetFont(Font* font) = 0;
};

// What a box paints itself, for assistive technology: its name, the message
// as runs of text (a link's run carries its target), the icon's name, and
// where they are on the box.
struct AccessibleMessage {
    struct Run {
        std::wstring text;
        std::wstring target;  // empty: plain text
    };
    std::wstring name;  // what the box is called: its title, else the message's first line
    std::vector<Run> runs;
    Rect textArea;
    std::wstring iconName;  // "Error", "Warning", "Information", "Question"; empty: no icon
    Rect iconArea;
};

// The window of a running dialog.
class DialogWindow {
public:
    virtual ~DialogWindow() = default;
    virtual void SetTitle(const std::wstring& title) = 0;
    // The window's font; false when it has none.
    virtual bool GetFont(FontDescription& description) = 0;
    virtual void SetFont(Font* font) = 0;
    // Direct children, top of the z-order first.
    virtual std::vector<ChildWindow*> Children() = 0;
    virtual Rect ClientRect() = 0;  // origin at 0, 0
    virtual Rect WindowRect() = 0;  // screen coordinates, frame included
    virtual std::unique_ptr<DrawingContext> GetDrawingContext() = 0;
    virtual std::unique_ptr<Font> CreateFont(const FontDescription& description) = 0;
    // "&" in the caption marks the mnemonic letter.
    virtual boost::shared_ptr<ChildWindow> CreatePushButton(const std::wstring& caption, const Rect& bounds,
                                                          std::int32_t id) = 0;
    // The application's main window, else the desktop; none when neither.
    virtual std::optional<Rect> ReferenceRect() = 0;
    // Moves and sizes the window, frame included, in screen coordinates.
    virtual void Move(const Rect& window) = 0;
    // The theme's window-text colour, 0x00BBGGRR.
    virtual std::uint32_t WindowTextColor() = 0;
    // Pointer feedback over links.
    virtual void SetLinkPointer(bool overLink) = 0;
    // The box as assistive technology (a screen reader) reads it.
    virtual void SetAccessibleMessage(const AccessibleMessage& message) = 0;
    virtual void EndDialog(std::int32_t result) = 0;
};

// What a running dialog is told; the backend calls these on its thread.
class DialogEvents {
public:
    virtual ~DialogEvents() = default;
    // The window exists, hidden; returns false to end the run.
    virtual bool OnInitDialog(DialogWindow& window) = 0;
    virtual void OnPaint(DrawingContext& dc) = 0;
    // A button was clicked; 2 also for Escape and the close box.
    virtual void OnCommand(std::int32_t id) = 0;
    virtual void OnLButtonUp(Point point) = 0;
    virtual void OnMouseMove(Point point) = 0;
    // A link was activated other than by a click (by assistive technology).
    virtual void OnLinkActivated(const std::wstring& target) = 0;
    // The window is gone.
    virtual void OnDestroyed() = 0;
};

class Gui {
public:
    virtual ~Gui() = default;
    // Creates the window from the template, runs it modally and returns the
    // value passed to EndDialog; -1 when the window cannot be created.
    virtual std::int32_t RunModal(const DialogTemplate& dialogTemplate, WindowHandle parent,
                                  DialogEvents& events) = 0;
    // A shared system icon: 1 error, 2 warning, 3 information, 4 question.
    virtual std::unique_ptr<SystemIcon> LoadSystemIcon(std::int32_t kind) = 0;
};

// The backend, started on first use; null without a display, or in a
// process that shows no windows of its own.
Gui* LoadGui();

}  // namespace Platform
