// The box helper's side of the hand-over with the launcher.

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/MessageBoxHost.h"
#include "platform/linux/gtk/GtkDialog.h"

namespace Platform {
namespace {

// A request is a caption, a text and a few buttons; anything near this is
// not from the launcher.
inline constexpr std::size_t maxRequestSize = 1 << 20;

std::optional<std::string> ReadRequest()
{
    std::string bytes;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(0, buffer, sizeof buffer);
        if (n == 0)
            return bytes;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || bytes.size() + static_cast<std::size_t>(n) > maxRequestSize)
            return std::nullopt;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

void WriteLine(int fd, std::string line)
{
    line += '\n';
    for (std::size_t sent = 0; sent < line.size();) {
        const ssize_t n = write(fd, line.data() + sent, line.size() - sent);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        sent += static_cast<std::size_t>(n);
    }
}

// Without a session bus nothing may start one: GTK's accessibility bridge
// and GLib would otherwise autolaunch a bus and the accessibility daemons,
// which outlive the box. With no bus no screen reader listens anyway.
void KeepToTheSessionBus()
{
    const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (bus && *bus)
        return;
    setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
    setenv("NO_AT_BRIDGE", "1", 1);
}

}  // namespace

int ServeMessageBox(ShowInProcess showInProcess)
{
    // The box ends with the launcher that asked for it.
    const pid_t launcher = getppid();
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != launcher)
        return 1;
    // Standard output carries the status lines and nothing else: whatever a
    // library prints goes to standard error.
    const int status = fcntl(1, F_DUPFD_CLOEXEC, 3);
    if (status < 0 || dup2(2, 1) < 0)
        return 1;

    const std::optional<std::string> bytes = ReadRequest();
    const std::optional<MessageBoxRequest> request = bytes ? DecodeMessageBoxRequest(*bytes) : std::nullopt;
    if (!request)
        return 2;
    KeepToTheSessionBus();
    GtkBackend::GtkDialogWindow::onScreen = [status] { WriteLine(status, std::string(messageBoxShownLine)); };
    WriteLine(status, MessageBoxResultLine(showInProcess(*request, nullptr)));
    return 0;
}

}  // namespace Platform
