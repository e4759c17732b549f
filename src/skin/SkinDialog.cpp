#include "skin/SkinDialog.h"

#include "resources/Resources.h"
#include "skin/Centring.h"

SkinDialog::SkinDialog(std::uint16_t templateId, Platform::WindowHandle parent)
    : ModalDialog(Resources::FindDialogTemplate(templateId), parent)
{
}

void SkinDialog::UpdateFont()
{
    if (!window)
        return;
    Platform::FontDescription description;
    window->GetFont(description);
    description.faceName = std::wstring(L"Tahoma").substr(0, Platform::faceNameCapacity - 1);

    normalFont = window->CreateFont(description);
    description.weight = 700;
    boldFont = window->CreateFont(description);

    window->SetFont(normalFont.get());
    for (Platform::ChildWindow* child : window->Children())
        child->SetFont(normalFont.get());
}

void SkinDialog::MoveToCenter(Platform::Size size)
{
    if (!window)
        return;
    const std::optional<Platform::Rect> reference = window->ReferenceRect();
    const Platform::Point at = reference ? Skin::CenterOver(*reference, size) : Platform::Point{100, 100};
    window->Move({at.x, at.y, at.x + size.cx, at.y + size.cy});
}
