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
    // Ends the X server, as when a session ends under a running program.
    void Stop();

private:
    std::string name_;
    std::unique_ptr<BackgroundProcess> server_;
    std::unique_ptr<BackgroundProcess> windowManager_;
};

// A private Wayland compositor: weston inside a private Xvfb, so that
// xdotool's keys and clicks on weston's window reach its clients. The kiosk
// shell centres a window smaller than the output; the desktop shell places
// it where it likes.
class PrivateWayland {
public:
    enum class Shell { Kiosk, Desktop };
    explicit PrivateWayland(Shell shell = Shell::Kiosk);
    ~PrivateWayland();

    // Options whose environment points a child at this compositor only, as
    // GDK sees a Wayland session; the X display is left out.
    ProcessOptions Options() const;
    // The X display weston runs in: for input and screenshots.
    const PrivateDisplay& display() const { return display_; }
    // Gives weston's window the keyboard and runs xdotool with these arguments.
    void Input(std::vector<std::string> xdotoolArguments) const;

private:
    void WaitForTheDesktop() const;

    PrivateDisplay display_;
    TempDir runtime_{"vantrelz-wayland"};
    std::string socket_;
    std::string window_;
    std::unique_ptr<BackgroundProcess> compositor_;
};

}  // namespace TestSupport
