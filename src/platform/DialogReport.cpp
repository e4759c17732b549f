#include "platform/DialogReport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace Platform {
namespace {

std::string JsonText(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// [left, top, width, height]
std::string Box(const Rect& r)
{
    std::ostringstream out;
    out << "[" << r.left << ", " << r.top << ", " << r.Width() << ", " << r.Height() << "]";
    return out.str();
}

}  // namespace

std::string DialogReportJson(const DialogReport& report)
{
    std::ostringstream json;
    json << "{\"title\": " << JsonText(report.title) << ", \"backend\": " << JsonText(report.backend)
         << ", \"xid\": " << report.windowId << ", \"x\": " << report.clientOrigin.x
         << ", \"y\": " << report.clientOrigin.y << ", \"width\": " << report.clientSize.cx
         << ", \"height\": " << report.clientSize.cy << ", \"requested\": " << Box(report.requested)
         << ", \"frame\": [" << report.frame.left << ", " << report.frame.top << ", " << report.frame.right << ", "
         << report.frame.bottom << "], \"keep_above\": " << (report.keepAbove ? "true" : "false")
         << ", \"face\": " << JsonText(report.face) << ", \"line_height\": " << report.lineHeight
         << ", \"icon_pixels\": " << report.iconPixels << ", \"buttons\": [";
    for (std::size_t i = 0; i < report.buttons.size(); ++i) {
        const DialogReport::Button& b = report.buttons[i];
        json << (i ? ", " : "") << "{\"id\": " << b.id << ", \"label\": " << JsonText(b.label)
             << ", \"x\": " << b.bounds.left << ", \"y\": " << b.bounds.top << ", \"width\": " << b.bounds.Width()
             << ", \"height\": " << b.bounds.Height() << ", \"requested\": " << Box(b.requested)
             << ", \"focused\": " << (b.focused ? "true" : "false") << "}";
    }
    json << "]}\n";
    return json.str();
}

bool DialogReportWanted()
{
    const char* path = std::getenv("VANTRELZ_DIALOG_REPORT");
    return path && *path;
}

void WriteDialogReport(const DialogReport& report)
{
    if (!DialogReportWanted())
        return;
    const char* path = std::getenv("VANTRELZ_DIALOG_REPORT");
    const std::filesystem::path target(path);
    std::filesystem::path partial = target;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << DialogReportJson(report);
        if (!out)
            return;
    }
    std::error_code ignored;
    std::filesystem::rename(partial, target, ignored);
}

}  // namespace Platform
