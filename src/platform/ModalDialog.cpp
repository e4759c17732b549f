#include "platform/ModalDialog.h"

namespace Platform {

std::int32_t ModalDialog::DoModal()
{
    Gui* gui = dialogTemplate ? LoadGui() : nullptr;
    if (!gui)
        return -1;
    return gui->RunModal(*dialogTemplate, parent, *this);
}

bool ModalDialog::OnInitDialog(DialogWindow& dialogWindow)
{
    window = &dialogWindow;
    return true;
}

void ModalDialog::EndDialog(std::int32_t result)
{
    if (window)
        window->EndDialog(result);
}

}  // namespace Platform
