#pragma once
// The framework's modal dialog: made from a dialog template, run by the
// windowing backend, ended with a result.

#include <cstdint>

#include "platform/Gui.h"

namespace Platform {

class ModalDialog : public DialogEvents {
public:
    // Without a template (null) no window can be created.
    ModalDialog(const DialogTemplate* dialogTemplate, WindowHandle parent)
        : dialogTemplate(dialogTemplate), parent(parent)
    {
    }

    // Runs the dialog and returns its result; -1 when no window could be
    // created (no template, no backend, no display).
    std::int32_t DoModal();

protected:
    bool OnInitDialog(DialogWindow& dialogWindow) override;
    void OnPaint(DrawingContext&) override {}
    void OnCommand(std::int32_t) override {}
    void OnLButtonUp(Point) override {}
    void OnMouseMove(Point) override {}
    void OnLinkActivated(const std::wstring&) override {}
    void OnDestroyed() override { window = nullptr; }

    void EndDialog(std::int32_t result);

    DialogWindow* window = nullptr;  // while the dialog runs

private:
    const DialogTemplate* dialogTemplate;
    WindowHandle parent;
};

}  // namespace Platform
