#include "support/Display.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <regex>
#include <stdexcept>
#include <thread>

namespace TestSupport {

using namespace std::chrono_literals;

PrivateDisplay::PrivateDisplay(bool withWindowManager)
{
    // Xvfb writes the display number it chose to its standard output.
    server_ = std::make_unique<BackgroundProcess>(std::vector<std::string>{
        "Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-ac"});
    const auto number = server_->ReadLine(10s);
    if (!number)
        throw std::runtime_error("Xvfb did not start");
    name_ = ":" + *number;
    if (withWindowManager) {
        windowManager_ = std::make_unique<BackgroundProcess>(std::vector<std::string>{"jwm"}, Options());
        // jwm is up once it owns the screen's window manager selection.
        const auto managed = [&] {
            return Run({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).out.find("window id") != std::string::npos;
        };
        for (int i = 0; i < 100 && !managed(); ++i)
            std::this_thread::sleep_for(50ms);
        if (!managed())
            throw std::runtime_error("the window manager did not come up");
    }
}

PrivateDisplay::~PrivateDisplay() { Stop(); }

void PrivateDisplay::Stop()
{
    windowManager_.reset();
    server_.reset();
}

ProcessOptions PrivateDisplay::Options() const
{
    ProcessOptions options;
    options.environment["DISPLAY"] = name_;
    options.environment["WAYLAND_DISPLAY"] = std::nullopt;
    options.environment["GDK_BACKEND"] = std::string("x11");
    options.environment["GDK_GL"] = std::string("disable");
    options.environment["NO_AT_BRIDGE"] = std::string("1");
    options.environment["GSETTINGS_BACKEND"] = std::string("memory");
    options.environment["GTK_THEME"] = std::string("Adwaita");
    options.environment["XDG_RUNTIME_DIR"] = std::nullopt;
    options.environment["DBUS_SESSION_BUS_ADDRESS"] = std::string("disabled:");
    return options;
}

ProcessResult PrivateDisplay::Run(const std::vector<std::string>& argv) const
{
    ProcessOptions options = Options();
    options.timeout = 10s;
    return RunProcess(argv, options);
}

PrivateWayland::PrivateWayland(Shell shell) : socket_(runtime_.path() + "/wayland-test")
{
    chmod(runtime_.path().c_str(), 0700);
    ProcessOptions options = display_.Options();
    options.environment["XDG_RUNTIME_DIR"] = runtime_.path();
    compositor_ = std::make_unique<BackgroundProcess>(
        std::vector<std::string>{"weston", "--backend=x11-backend.so",
                                 shell == Shell::Kiosk ? "--shell=kiosk-shell.so" : "--shell=desktop-shell.so",
                                 "--socket=wayland-test", "--width=1024", "--height=768", "--idle-time=0"},
        options);
    // Up once its socket exists and its output window is on the X display.
    std::smatch match;
    for (int i = 0; i < 200 && window_.empty(); ++i) {
        const std::string tree = display_.Run({"xwininfo", "-root", "-tree"}).out;
        if (access(socket_.c_str(), F_OK) == 0 &&
            std::regex_search(tree, match, std::regex("(0x[0-9a-f]+) \"Weston Compositor")))
            window_ = match[1];
        else
            std::this_thread::sleep_for(50ms);
    }
    if (window_.empty())
        throw std::runtime_error("weston did not start");
    // weston passes its X window's focus changes on to its clients; one
    // change now, before any client is up, rather than while a box appears.
    display_.Run({"xdotool", "windowfocus", "--sync", window_});
    if (shell == Shell::Desktop)
        WaitForTheDesktop();
}

// The desktop shell is a client of its own that weston starts; until its
// panel is drawn and faded in, it may take the keyboard from a window that
// appeared before it. Ready once the panel's pixel holds still and is not
// black.
void PrivateWayland::WaitForTheDesktop() const
{
    const auto panelPixel = [&] {
        return display_.Run({"import", "-window", window_, "-crop", "1x1+500+10", "txt:-"}).out;
    };
    std::string last = panelPixel();
    for (int i = 0; i < 100; ++i) {
        std::this_thread::sleep_for(150ms);
        const std::string now = panelPixel();
        if (now == last && now.find("srgb(0,0,0)") == std::string::npos && now.find("srgb(") != std::string::npos)
            return;
        last = now;
    }
    throw std::runtime_error("weston's desktop shell did not come up");
}

PrivateWayland::~PrivateWayland() { compositor_.reset(); }

ProcessOptions PrivateWayland::Options() const
{
    ProcessOptions options = display_.Options();
    options.environment["DISPLAY"] = std::nullopt;
    options.environment["GDK_BACKEND"] = std::nullopt;
    options.environment["WAYLAND_DISPLAY"] = socket_;
    options.environment["XDG_RUNTIME_DIR"] = runtime_.path();
    return options;
}

void PrivateWayland::Input(std::vector<std::string> xdotoolArguments) const
{
    xdotoolArguments.insert(xdotoolArguments.begin(), {"xdotool", "windowfocus", "--sync", window_});
    display_.Run(xdotoolArguments);
}

}  // namespace TestSupport
