#pragma once
// What a message box on screen says of itself in VANTRELZ_DIALOG_REPORT.

#include <string>
#include <vector>

namespace TestSupport {

struct ButtonReport {
    int id, x, y, width, height;  // x, y in the window's client area
    std::vector<int> requested;   // left, top, width, height
    std::string label;
    bool focused;
};

struct BoxReport {
    std::string json;
    std::string backend;  // "x11" or "wayland"
    int xid, x, y, width, height;  // x, y: the client area on screen (0, 0 on Wayland)
    std::vector<int> requested;    // left, top, width, height, frame included
    std::vector<int> frame;        // left, top, right, bottom
    std::vector<ButtonReport> buttons;

    // The button with this label; throws when there is none.
    const ButtonReport& Button(const std::string& label) const;
};

// Throws std::runtime_error for a report without a field it needs.
BoxReport ParseBoxReport(const std::string& json);
// The number stored under key, the first one in json.
int JsonNumber(const std::string& json, const std::string& key);

}  // namespace TestSupport
