#pragma once
// The base of the launcher's dialogs: one uniform face (Tahoma at the size of
// the template's font, with a bold variant beside it) and placement centred
// over the main window or the desktop.

#include <cstdint>
#include <memory>

#include "platform/ModalDialog.h"

class DialogFontUpdater {
public:
    virtual ~DialogFontUpdater() = default;  // normalFont first, then boldFont
    virtual void UpdateFont() = 0;

protected:
    std::unique_ptr<Platform::Font> boldFont;    // normalFont at weight 700
    std::unique_ptr<Platform::Font> normalFont;  // applied to the dialog and its children
};

class SkinDialog : public Platform::ModalDialog, public DialogFontUpdater {
public:
    // The dialog made from the launcher's template with this identifier.
    SkinDialog(std::uint16_t templateId, Platform::WindowHandle parent);

    // Makes both fonts anew from the dialog's current font with the Tahoma
    // face, and gives normalFont to the dialog and to each direct child.
    void UpdateFont() override;

    // Sizes the window and centres it over the reference window, or puts it
    // at (100, 100) when there is none.
    void MoveToCenter(Platform::Size size);
};
