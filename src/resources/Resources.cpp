#include "resources/Resources.h"

namespace Resources {
namespace {

// The extended message box: a modal, topmost popup with a caption and a
// system menu; its size and title are replaced when it opens.
const Platform::DialogTemplate extendedMessageBox = {
    .id = IDD_EXTENDED_MESSAGE_BOX,
    .style = 0x80C800C8,  // WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS
    .extendedStyle = Platform::extendedStyleTopmost,
    .x = 0,
    .y = 0,
    .cx = 186,
    .cy = 90,
    .title = L"",
    .fontFace = L"MS Shell Dlg",
    .pointSize = 8,
    .weight = 400,
    .italic = false,
    .charSet = 1,  // DEFAULT_CHARSET
};

}  // namespace

const Platform::DialogTemplate* FindDialogTemplate(std::uint16_t id)
{
    return id == extendedMessageBox.id ? &extendedMessageBox : nullptr;
}

}  // namespace Resources
