#include "message/Dialog.h"

#include <algorithm>

#include "message/DialogGeometry.h"
#include "platform/Platform.h"
#include "resources/Resources.h"

namespace Message {

Dialog::Dialog(const std::wstring& caption, const std::wstring& text, std::int32_t iconKind, const Buttons& buttons,
               Platform::WindowHandle parent)
    : SkinDialog(IDD_EXTENDED_MESSAGE_BOX, parent), caption(caption), text(text), iconKind(iconKind), buttons(buttons)
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
    window->SetAccessibleMessage(AccessibleMessage());

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

// Only a link of this box is opened, as a click on it would.
void Dialog::OnLinkActivated(const std::wstring& target)
{
    const bool ours = !target.empty() && std::any_of(elements.begin(), elements.end(), [&](const auto& element) {
                          return element->LinkTarget() == target;
                      });
    if (ours)
        Platform::OpenWithShell(target);
}

Platform::AccessibleMessage Dialog::AccessibleMessage() const
{
    static const wchar_t* const iconNames[] = {L"", L"Error", L"Warning", L"Information", L"Question"};
    Platform::AccessibleMessage message;
    std::wstring whole;
    for (const auto& element : elements) {
        message.runs.push_back({element->VisibleText(), element->LinkTarget()});
        whole += message.runs.back().text;
    }
    message.name = caption.empty() ? whole.substr(0, whole.find(L'\n')) : caption;
    message.textArea = textRect;
    if (icon.bitmap) {  // only a known kind has one
        const Size iconSize = IconSize();
        message.iconName = iconNames[iconKind];
        message.iconArea = {iconPosition.x, iconPosition.y, iconPosition.x + iconSize.cx, iconPosition.y + iconSize.cy};
    }
    return message;
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
