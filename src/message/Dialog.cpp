#include "message/Dialog.h"

#include "message/DialogGeometry.h"
#include "platform/Platform.h"
#include "resources/Resources.h"

namespace Message {

Dialog::Dialog(const std::wstring& caption, const std::wstring& text, std::int32_t iconKind, const Buttons& buttons,
               Platform::WindowHandle parent)
    : SkinDialog(IDD_EXTENDED_MESSAGE_BOX, parent), caption(caption), text(text), buttons(buttons)
{
    if (iconKind >= Error && iconKind <= Question) {
        if (Platform::Gui* gui = Platform::LoadGui())
            icon.icon = gui->LoadSystemIcon(iconKind);
        if (icon.icon)
            icon.FromIcon();
    }
}

Size Dialog::IconSize() const
{
    return icon.bitmap ? Size{icon.bitmap->Width(), icon.bitmap->Height()} : Size{};
}

bool Dialog::OnInitDialog(Platform::DialogWindow& dialogWindow)
{
    if (!SkinDialog::OnInitDialog(dialogWindow))
        return false;
    window->SetTitle(caption);
    UpdateFont();

    const std::unique_ptr<DrawingContext> dc = window->GetDrawingContext();
    Platform::Font* previousFont = dc->SelectFont(normalFont.get());
    CreateButtons(*dc);

    const Rect client = window->ClientRect();
    const Rect windowRect = window->WindowRect();
    const Size iconSize = IconSize();

    SplitAndAdd(elements, text);
    Size extent;
    Point pen;
    const std::int32_t maxWidth = MaxTextWidth(iconSize.cx);
    for (const auto& element : elements)
        element->Layout(*dc, extent, pen, maxWidth);

    const std::int32_t firstButtonHeight = buttonWindows.empty() ? 0 : buttonWindows.front()->Bounds().Height();
    const BoxGeometry box =
        ComputeBoxGeometry(client, windowRect, iconSize, extent, !buttonWindows.empty(), firstButtonHeight);
    textRect = box.textRect;
    iconPosition = box.iconPosition;
    MoveToCenter(box.size);
    ArrangeButtons();
    std::wstring visibleText;
    for (const auto& element : elements)
        visibleText += element->VisibleText();
    window->SetAccessibleText(visibleText, textRect);

    dc->SelectFont(previousFont);
    // The buttons exist now: they get the font too.
    UpdateFont();
    return true;
}

void Dialog::CreateButtons(DrawingContext& dc)
{
    for (const Button& button : buttons) {
        const Size size = ButtonSize(dc.MeasureText(button.caption));
        buttonWindows.push_back(window->CreatePushButton(button.caption, {0, 0, size.cx, size.cy}, button.result));
    }
}

void Dialog::ArrangeButtons()
{
    std::vector<Size> sizes;
    for (const auto& button : buttonWindows)
        sizes.push_back({button->Bounds().Width(), button->Bounds().Height()});
    const std::vector<Rect> placed =
        Message::ArrangeButtons(window->ClientRect(), iconPosition, IconSize().cy, textRect, sizes);
    for (std::size_t i = 0; i < placed.size(); ++i)
        buttonWindows[i]->Place(placed[i]);
}

void Dialog::OnPaint(DrawingContext& dc)
{
    icon.DrawAt(iconPosition.x, iconPosition.y, &dc);
    dc.SelectFont(normalFont.get());
    dc.SetTextColor(window->WindowTextColor());
    dc.SaveState();
    dc.Translate(textRect.left, textRect.top);
    for (const auto& element : elements)
        element->Draw(dc);
    dc.RestoreState();
}

void Dialog::OnCommand(std::int32_t id)
{
    if (id >= 1 && id <= 11)
        EndDialog(id);
}

void Dialog::OnLButtonUp(Point point)
{
    const std::wstring target = LinkTargetAt(point);
    if (!target.empty())
        Platform::OpenWithShell(target);
}

void Dialog::OnMouseMove(Point point)
{
    const Point inText = {point.x - textRect.left, point.y - textRect.top};
    bool overLink = false;
    for (const auto& element : elements) {
        if ((overLink = element->HitTest(inText)))
            break;
    }
    window->SetLinkPointer(overLink);
}

std::wstring Dialog::LinkTargetAt(Point point) const
{
    const Point inText = {point.x - textRect.left, point.y - textRect.top};
    for (const auto& element : elements) {
        std::wstring target = element->TargetAt(inText);
        if (!target.empty())
            return target;
    }
    return std::wstring();
}

}  // namespace Message
