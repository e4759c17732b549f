#pragma once
// Where a message box runs. Some platforms show it in the calling process;
// on Linux the launcher hands it to a helper process beside itself, so that
// a toolkit or display failure can cost the box but never the run.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Gui.h"

namespace Platform {

struct MessageBoxButton {
    std::wstring caption;
    std::int32_t result = 0;
    bool operator==(const MessageBoxButton&) const = default;
};

// Everything a box needs to be shown in another process.
struct MessageBoxRequest {
    std::wstring caption;
    std::wstring text;
    std::int32_t icon = 0;
    std::vector<MessageBoxButton> buttons;
    bool operator==(const MessageBoxRequest&) const = default;
};

// Shows the box in the calling process and returns its result.
using ShowInProcess = std::int32_t (*)(const MessageBoxRequest& request, WindowHandle parent);

// Shows the box where this platform shows boxes: through showInProcess, or
// in the helper process. Returns the box's result; -1 when no box could be
// shown (no display, no helper, a helper that failed or never got a window
// on screen).
std::int32_t RunMessageBox(const MessageBoxRequest& request, WindowHandle parent, ShowInProcess showInProcess);

// The request as bytes for the helper, and back; nullopt for bytes that are
// not a whole request.
std::string EncodeMessageBoxRequest(const MessageBoxRequest& request);
std::optional<MessageBoxRequest> DecodeMessageBoxRequest(std::string_view bytes);

// The helper's status lines: "shown" once the box is on screen, then
// "result N". ParseMessageBoxResult reads N from a result line.
inline constexpr std::string_view messageBoxShownLine = "shown";
std::string MessageBoxResultLine(std::int32_t result);
std::optional<std::int32_t> ParseMessageBoxResult(std::string_view line);

// The helper's work, on platforms that have one: reads a request from
// standard input, shows it through showInProcess, and writes the status
// lines to standard output. Returns the helper's exit code.
int ServeMessageBox(ShowInProcess showInProcess);

}  // namespace Platform
