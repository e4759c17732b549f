#include "platform/win32/Win32Dialog.h"

#include <commctrl.h>

#include <memory>

#include "base/Utf8.h"
#include "platform/DialogReport.h"
#include "platform/win32/Win32Drawing.h"

namespace Win32Backend {
namespace {

// Posted once the box has been painted: it is on screen.
constexpr UINT reportMessage = WM_APP + 1;

std::string WindowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Utf8::FromWide(text);
}

Platform::Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// A mouse message's point, in client coordinates (signed: a capture can
// report points left of or above the window).
Platform::Point MousePoint(LPARAM lParam)
{
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// The message's accessible label: the dialog paints the text itself.
LRESULT CALLBACK SilentLabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_PAINT) {
        ValidateRect(label, nullptr);
        return 0;
    }
    if (message == WM_ERASEBKGND)
        return 1;
    return DefSubclassProc(label, message, wParam, lParam);
}

struct DialogRun {
    Platform::DialogEvents& events;
    std::unique_ptr<Win32DialogWindow> window;
    bool painted = false;
};

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* run = reinterpret_cast<DialogRun*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (message == WM_INITDIALOG) {
        run = reinterpret_cast<DialogRun*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        run->window = std::make_unique<Win32DialogWindow>(dialog);
        if (!run->events.OnInitDialog(*run->window)) {
            ::EndDialog(dialog, -1);
            return FALSE;
        }
        // The first button has the focus, and with it the default, so that
        // Return presses it (the buttons were each moved to the top of the
        // z-order, which leaves the last one first).
        if (const HWND first = run->window->FirstButton()) {
            SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
            return FALSE;
        }
        return TRUE;
    }
    if (!run || !run->window)
        return FALSE;
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC hdc = BeginPaint(dialog, &paint);
        {
            HdcContext dc(hdc);
            run->events.OnPaint(dc);
        }
        EndPaint(dialog, &paint);
        if (!run->painted) {
            run->painted = true;
            PostMessageW(dialog, reportMessage, 0, 0);
        }
        return TRUE;
    }
    case reportMessage:
        run->window->WriteReport();
        return TRUE;
    case WM_ACTIVATE:
        // The report follows the keyboard focus, once it exists.
        if (run->painted)
            PostMessageW(dialog, reportMessage, 0, 0);
        return FALSE;
    case WM_COMMAND:
        // Escape and the close box arrive as IDCANCEL (2).
        if (HIWORD(wParam) == BN_CLICKED)
            run->events.OnCommand(LOWORD(wParam));
        return TRUE;
    case WM_LBUTTONUP:
        run->events.OnLButtonUp(MousePoint(lParam));
        return TRUE;
    case WM_MOUSEMOVE: {
        run->events.OnMouseMove(MousePoint(lParam));
        // Told when the pointer leaves, so that the hand goes with it.
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, dialog, 0};
        TrackMouseEvent(&track);
        return TRUE;
    }
    case WM_MOUSELEAVE:
        run->window->SetLinkPointer(false);
        return TRUE;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == dialog && LOWORD(lParam) == HTCLIENT && run->window->OverLink()) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

Win32PushButton::Win32PushButton(HWND parent, const std::wstring& caption, const Platform::Rect& bounds,
                                 std::int32_t id)
    : button(CreateWindowExW(0, L"BUTTON", caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                             bounds.left, bounds.top, bounds.Width(), bounds.Height(), parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr)),
      id(id), bounds(bounds)
{
}

void Win32PushButton::Place(const Platform::Rect& newBounds)
{
    bounds = newBounds;
    SetWindowPos(button, HWND_TOP, bounds.left, bounds.top, bounds.Width(), bounds.Height(), SWP_NOACTIVATE);
}

void Win32PushButton::SetFont(Platform::Font* font)
{
    const auto* win32Font = dynamic_cast<Win32Font*>(font);
    SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(win32Font ? win32Font->Handle() : nullptr), TRUE);
}

HWND Win32DialogWindow::FirstButton() const
{
    for (const auto& weak : buttons) {
        if (const auto button = weak.lock())
            return button->Handle();
    }
    return nullptr;
}

void Win32DialogWindow::SetTitle(const std::wstring& title) { SetWindowTextW(dialog, title.c_str()); }

bool Win32DialogWindow::GetFont(Platform::FontDescription& description)
{
    const auto current = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    LOGFONTW logFont = {};
    if (!current || !GetObjectW(current, sizeof logFont, &logFont))
        return false;
    description = FromLogFont(logFont);
    return true;
}

void Win32DialogWindow::SetFont(Platform::Font* newFont)
{
    const auto* win32Font = dynamic_cast<Win32Font*>(newFont);
    font = win32Font ? win32Font->Handle() : nullptr;
    SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

std::vector<Platform::ChildWindow*> Win32DialogWindow::Children()
{
    std::vector<Platform::ChildWindow*> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        for (const auto& weak : buttons) {
            if (const auto button = weak.lock(); button && button->Handle() == child)
                children.push_back(button.get());
        }
    }
    return children;
}

Platform::Rect Win32DialogWindow::ClientRect()
{
    RECT client = {};
    GetClientRect(dialog, &client);
    return ToRect(client);
}

Platform::Rect Win32DialogWindow::WindowRect()
{
    RECT window = {};
    GetWindowRect(dialog, &window);
    return ToRect(window);
}

std::unique_ptr<Platform::DrawingContext> Win32DialogWindow::GetDrawingContext()
{
    return std::make_unique<HdcContext>(GetDC(dialog), dialog);
}

std::unique_ptr<Platform::Font> Win32DialogWindow::CreateFont(const Platform::FontDescription& description)
{
    return std::make_unique<Win32Font>(description);
}

boost::shared_ptr<Platform::ChildWindow> Win32DialogWindow::CreatePushButton(const std::wstring& caption,
                                                                             const Platform::Rect& bounds,
                                                                             std::int32_t id)
{
    boost::shared_ptr<Win32PushButton> button(new Win32PushButton(dialog, caption, bounds, id));
    buttons.push_back(button);
    return button;
}

std::optional<Platform::Rect> Win32DialogWindow::ReferenceRect()
{
    // The launcher has no main window: the desktop.
    RECT desktop = {};
    if (!GetWindowRect(GetDesktopWindow(), &desktop))
        return std::nullopt;
    return ToRect(desktop);
}

void Win32DialogWindow::Move(const Platform::Rect& window)
{
    requested = window;
    SetWindowPos(dialog, nullptr, window.left, window.top, window.Width(), window.Height(), SWP_NOZORDER);
}

std::uint32_t Win32DialogWindow::WindowTextColor() { return GetSysColor(COLOR_WINDOWTEXT); }

void Win32DialogWindow::SetLinkPointer(bool over)
{
    if (over == overLink)
        return;
    overLink = over;
    SetCursor(LoadCursorW(nullptr, over ? IDC_HAND : IDC_ARROW));
}

// A static control over the painted message carries its text for screen
// readers. It paints nothing itself and lets the mouse through to the links.
void Win32DialogWindow::SetAccessibleMessage(const Platform::AccessibleMessage& message)
{
    std::wstring text;
    for (const auto& run : message.runs)
        text += run.text;
    const Platform::Rect& area = message.textArea;
    const HWND label = CreateWindowExW(WS_EX_TRANSPARENT, L"STATIC", text.c_str(),
                                       WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, area.left, area.top,
                                       area.Width(), area.Height(), dialog, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowSubclass(label, SilentLabelProc, 0, 0);
}

void Win32DialogWindow::EndDialog(std::int32_t result) { ::EndDialog(dialog, result); }

void Win32DialogWindow::WriteReport()
{
    if (!Platform::DialogReportWanted())
        return;
    Platform::DialogReport report;
    report.title = WindowText(dialog);
    report.backend = "win32";
    report.windowId = reinterpret_cast<std::uintptr_t>(dialog);
    POINT origin = {0, 0};
    ClientToScreen(dialog, &origin);
    report.clientOrigin = {origin.x, origin.y};
    const Platform::Rect client = ClientRect();
    const Platform::Rect window = WindowRect();
    report.clientSize = {client.Width(), client.Height()};
    report.requested = requested;
    report.frame = {origin.x - window.left, origin.y - window.top, window.right - origin.x - client.Width(),
                    window.bottom - origin.y - client.Height()};
    report.keepAbove = GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST;
    // The face the dialog's font resolves to on this system.
    if (const HDC hdc = GetDC(dialog)) {
        const HGDIOBJ previous = SelectObject(hdc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
        wchar_t face[LF_FACESIZE] = {};
        GetTextFaceW(hdc, LF_FACESIZE, face);
        report.face = Utf8::FromWide(face);
        TEXTMETRICW metrics = {};
        if (GetTextMetricsW(hdc, &metrics))
            report.lineHeight = metrics.tmHeight;
        SelectObject(hdc, previous);
        ReleaseDC(dialog, hdc);
    }
    for (const auto& weak : buttons) {
        const auto button = weak.lock();
        if (!button)
            continue;
        RECT bounds = {};
        GetWindowRect(button->Handle(), &bounds);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&bounds), 2);
        report.buttons.push_back({button->Id(), WindowText(button->Handle()), ToRect(bounds), button->Bounds(),
                                  GetFocus() == button->Handle()});
    }
    Platform::WriteDialogReport(report);
}

std::int32_t RunDialog(std::uint16_t templateId, HWND parent, Platform::DialogEvents& events)
{
    DialogRun run{events, nullptr};
    const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), parent,
                                           DialogProc, reinterpret_cast<LPARAM>(&run));
    return static_cast<std::int32_t>(result);
}

}  // namespace Win32Backend
