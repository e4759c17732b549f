#include "support/Display.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

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
        for (int i = 0; i < 100; ++i) {
            if (Run({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).out.find("window id") != std::string::npos)
                break;
            std::this_thread::sleep_for(50ms);
        }
    }
}

PrivateDisplay::~PrivateDisplay()
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

}  // namespace TestSupport
