// Starts a command and prints how many milliseconds pass until it maps a
// top-level window of the given class on the display:
//   time_to_window CLASS COMMAND [ARGUMENT]...
// Run it on a display without a window manager, where top-level windows are
// children of the root window. The window is then asked to close, and the
// command is waited for (ended after 10 s).

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <strings.h>

#include <chrono>
#include <cstdio>
#include <poll.h>

extern char** environ;

namespace {

// Asks the window to close, as a window manager's close box does.
void Close(Display* display, Window window)
{
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

// Waits for the command to end, at most 10 s; then ends it. True when it
// ended by itself.
bool EndChild(pid_t pid)
{
    for (int i = 0; i < 1000; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return true;
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: time_to_window CLASS COMMAND [ARGUMENT]...\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 1;
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const auto start = std::chrono::steady_clock::now();
    // The command's own output would mix with the figure.
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[2], &quiet, nullptr, argv + 2, environ) != 0)
        return 1;
    const auto deadline = start + std::chrono::seconds(15);
    pollfd fd = {ConnectionNumber(display), POLLIN, 0};
    while (std::chrono::steady_clock::now() < deadline) {
        if (!XPending(display)) {
            poll(&fd, 1, 50);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != MapNotify)
            continue;
        XClassHint hint = {};
        if (!XGetClassHint(display, event.xmap.window, &hint))
            continue;
        const bool match = (hint.res_class && strcasecmp(hint.res_class, argv[1]) == 0) ||
                           (hint.res_name && strcasecmp(hint.res_name, argv[1]) == 0);
        XFree(hint.res_name);
        XFree(hint.res_class);
        if (match) {
            const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            std::printf("%.1f\n", ms);
            Close(display, event.xmap.window);
            return EndChild(pid) ? 0 : 1;
        }
    }
    EndChild(pid);
    return 1;
}
