#include "message/MessageBox.h"

#include "message/Dialog.h"
#include "strings/LocalizedStrings.h"

namespace Message {

std::int32_t Show(const std::wstring& caption, const std::wstring& text, std::int32_t icon, const Buttons& buttons,
                  Platform::WindowHandle parent)
{
    Platform::MessageBoxRequest request{caption, text, icon, {}};
    for (const Button& button : buttons)
        request.buttons.push_back({button.caption, button.result});
    return Platform::RunMessageBox(request, parent, ShowInProcess);
}

std::int32_t ShowInProcess(const Platform::MessageBoxRequest& request, Platform::WindowHandle parent)
{
    Buttons buttons;
    for (const Platform::MessageBoxButton& button : request.buttons)
        buttons.Append(button.caption, button.result);
    Dialog dialog(request.caption, request.text, request.icon, buttons, parent);
    return dialog.DoModal();
}

std::int32_t ShowWithButton(const std::wstring& caption, const std::wstring& text, std::int32_t icon,
                            std::int32_t button, Platform::WindowHandle parent)
{
    return Show(caption, text, icon, Buttons().Append(ButtonCaption(button), button), parent);
}

std::wstring ButtonCaption(std::int32_t result)
{
    switch (result) {
    case resultOk: return LocalizedStrings::Get(302);
    case resultCancel: return LocalizedStrings::Get(301);
    case resultYes: return LocalizedStrings::Get(304);
    case resultNo: return LocalizedStrings::Get(305);
    case resultClose: return LocalizedStrings::Get(303);
    default: return std::wstring();
    }
}

}  // namespace Message
