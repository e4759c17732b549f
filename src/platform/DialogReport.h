#pragma once
// When VANTRELZ_DIALOG_REPORT names a file, a box on screen describes itself
// there for tests and QA: where its window and buttons really are, which has
// the focus, the face its text resolves to. Every backend fills the same
// record, so the same checks read them all.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/DrawingContext.h"

namespace Platform {

struct DialogReport {
    struct Button {
        std::int32_t id = 0;
        std::string label;  // as the toolkit shows it, UTF-8
        Rect bounds;        // client coordinates, as on screen
        Rect requested;     // as the dialog placed it
        bool focused = false;
    };
    std::string title;  // UTF-8
    std::string backend;  // "x11", "wayland", "win32"
    std::uint64_t windowId = 0;  // the X window, the HWND; 0 when none
    Point clientOrigin;          // on screen; 0, 0 where a window cannot know it
    Size clientSize;
    Rect requested;  // the last placement asked for, frame included
    Rect frame;      // extents left, top, right, bottom
    bool keepAbove = false;
    std::string face;  // the family the dialog's font resolves to
    std::int32_t lineHeight = 0;  // the dialog font's line height, as text is measured
    std::int32_t iconPixels = 0;  // the width of the image the icon is drawn from; 0: none or not known
    std::vector<Button> buttons;
};

// Whether a report is asked for: a backend gathers one only then.
bool DialogReportWanted();

// The record as one line of JSON.
std::string DialogReportJson(const DialogReport& report);

// Writes the record where VANTRELZ_DIALOG_REPORT says, whole or not at all
// (written aside, then renamed); nothing when it is unset.
void WriteDialogReport(const DialogReport& report);

}  // namespace Platform
