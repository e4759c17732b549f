#pragma once
// A modal dialog made by the system's dialog manager from the template
// resource, its push buttons, and the events it hands to the portable code.

#include <windows.h>

#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>
#include <vector>

#include "platform/Gui.h"

namespace Win32Backend {

class Win32PushButton : public Platform::ChildWindow {
public:
    Win32PushButton(HWND parent, const std::wstring& caption, const Platform::Rect& bounds, std::int32_t id);
    std::int32_t Id() const override { return id; }
    Platform::Rect Bounds() const override { return bounds; }
    void Place(const Platform::Rect& bounds) override;
    void SetFont(Platform::Font* font) override;
    HWND Handle() const { return button; }

private:
    HWND button;  // destroyed with its parent
    std::int32_t id;
    Platform::Rect bounds;
};

class Win32DialogWindow : public Platform::DialogWindow {
public:
    explicit Win32DialogWindow(HWND dialog) : dialog(dialog) {}

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

    bool OverLink() const { return overLink; }
    // The first button of the list, if any.
    HWND FirstButton() const;
    // The box's report for tests and QA (VANTRELZ_DIALOG_REPORT).
    void WriteReport();

private:
    HWND dialog;
    std::vector<boost::weak_ptr<Win32PushButton>> buttons;
    HFONT font = nullptr;  // the last one set, which the system may not report back
    Platform::Rect requested;
    bool overLink = false;
};

// Creates the dialog from the template resource with this identifier and
// runs it; -1 when it cannot be created.
std::int32_t RunDialog(std::uint16_t templateId, HWND parent, Platform::DialogEvents& events);

}  // namespace Win32Backend
