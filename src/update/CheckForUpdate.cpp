#include "update/CheckForUpdate.h"

#include "message/MessageBox.h"
#include "platform/Platform.h"
#include "strings/LocalizedStrings.h"
#include "update/DownloadAddress.h"
#include "update/QueryLatestVersion.h"

void CheckForUpdate()
{
    std::wstring downloadAddress;
    const UpdateStatus status = QueryLatestVersion(downloadAddress);
    if (status == UpToDate)
        return;

    // Neither table has string 2363: the boxes have an empty title.
    const std::wstring caption = LocalizedStrings::GetAfterLineBreak(2363);
    // The launcher has no main window to own the boxes.
    const Platform::WindowHandle parent = nullptr;
    if (status == NewerAvailable) {
        Message::Buttons buttons;
        buttons.Append(L"Download", Message::resultYes).Append(LocalizedStrings::Get(305), Message::resultNo);
        const std::int32_t choice =
            Message::Show(caption, LocalizedStrings::Get(27), Message::Question, buttons, parent);
        if (choice == Message::resultYes) {
            if (const auto address = WebAddress(downloadAddress))
                Platform::OpenWithShell(*address);
        }
    } else {
        Message::ShowWithButton(caption, LocalizedStrings::Get(29), Message::Error, Message::resultClose, parent);
    }
}
