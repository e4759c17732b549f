#pragma once
// A private X display for a test: Xvfb on a display number it picks itself,
// optionally with a small window manager, and the environment that makes GTK
// quick and quiet on it.

#include <memory>
#include <string>

#include "support/Process.h"

namespace TestSupport {

class PrivateDisplay {
public:
    explicit PrivateDisplay(bool withWindowManager = false);
    ~PrivateDisplay();

    const std::string& name() const { return name_; }
    // Options whose environment points a child at this display.
    ProcessOptions Options() const;
    // Runs an X client (xdotool, import, ...) on this display.
    ProcessResult Run(const std::vector<std::string>& argv) const;

private:
    std::string name_;
    std::unique_ptr<BackgroundProcess> server_;
    std::unique_ptr<BackgroundProcess> windowManager_;
};

}  // namespace TestSupport
