#pragma once
// The calls that show the extended message box: a message with free button
// captions, links and an optional icon. Both block until the box is closed.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/MessageBoxHost.h"

namespace Message {

struct Button {
    std::wstring caption;  // "&" marks the mnemonic letter; may be empty
    std::int32_t result;   // returned when clicked; also the control identifier
};

// Leftmost first; appends chain: buttons.Append(a).Append(b).
class Buttons : public std::vector<Button> {
public:
    Buttons& Append(const Button& button)
    {
        push_back(button);
        return *this;
    }
    Buttons& Append(std::wstring caption, std::int32_t result) { return Append(Button{std::move(caption), result}); }
};

enum Icon : std::int32_t { None = 0, Error = 1, Warning = 2, Information = 3, Question = 4 };

// Standard result codes.
inline constexpr std::int32_t resultOk = 1, resultCancel = 2, resultYes = 6, resultNo = 7, resultClose = 8;

// The clicked button's result (1 to 11), 2 for Escape or the close box, -1
// when no box could be created.
std::int32_t Show(const std::wstring& caption, const std::wstring& text, std::int32_t icon, const Buttons& buttons,
                  Platform::WindowHandle parent);

// Show, always in the calling process: the platform's way of showing a box
// (the box helper on Linux) and what it calls.
std::int32_t ShowInProcess(const Platform::MessageBoxRequest& request, Platform::WindowHandle parent);

// Show with one standard button (1 OK, 2 Cancel, 6 Yes, 7 No, 8 Close).
std::int32_t ShowWithButton(const std::wstring& caption, const std::wstring& text, std::int32_t icon,
                            std::int32_t button, Platform::WindowHandle parent);

// The standard button's caption in the current language, or empty.
std::wstring ButtonCaption(std::int32_t result);

}  // namespace Message
