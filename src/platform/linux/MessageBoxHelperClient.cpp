// The launcher's side of the box helper: the box runs in a process of its
// own, so whatever the toolkit or the display does (a crash, an exit, a
// display that never answers) costs the box and never the run. The launcher
// itself loads no toolkit and opens no window.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>

#include "platform/MessageBoxHost.h"
#include "platform/Platform.h"
#include "platform/linux/Spawn.h"

namespace Platform {
namespace {

using Clock = std::chrono::steady_clock;

inline constexpr char helperFileName[] = "vantrelz-box";
// A helper without a window on screen by then is given up; once the box is
// on screen the user takes all the time they want.
inline constexpr std::chrono::seconds onScreenBound{10};
// After its answer the helper only closes its window.
inline constexpr std::chrono::seconds exitBound{5};

bool HasDisplay()
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
}

std::string HelperPath()
{
    std::string path(4096, '\0');
    const std::size_t length = ReadModuleFileName(path.data(), path.size());
    if (length == 0 || length == path.size())
        return std::string();
    path.resize(length);
    return PathRules::RemoveFileName(path, PathRules::Style::Posix) + helperFileName;
}

class Descriptor {
public:
    Descriptor() = default;
    ~Descriptor() { Reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd; }
    void Reset(int newFd = -1)
    {
        if (fd >= 0)
            close(fd);
        fd = newFd;
    }

private:
    int fd = -1;
};

bool MakePipe(Descriptor& readEnd, Descriptor& writeEnd)
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return false;
    readEnd.Reset(ends[0]);
    writeEnd.Reset(ends[1]);
    return true;
}

// Talks to one running helper: hands over the request, then reads its status
// lines until it closes them. Returns the result it reported, if any.
class HelperSession {
public:
    HelperSession(Descriptor& request, int status) : request(request), status(status) {}

    std::optional<std::int32_t> Run(const std::string& bytes)
    {
        if (!Send(bytes))
            return std::nullopt;
        std::optional<std::int32_t> result;
        std::string pending;
        while (Wait(status, POLLIN)) {
            char buffer[256];
            const ssize_t n = read(status, buffer, sizeof buffer);
            if (n == 0)
                return result;
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return result;
            }
            pending.append(buffer, static_cast<std::size_t>(n));
            for (auto end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
                const std::string line = pending.substr(0, end);
                pending.erase(0, end + 1);
                if (line == messageBoxShownLine) {
                    deadline.reset();
                } else if (const auto reported = ParseMessageBoxResult(line)) {
                    // The answer is in; the helper only has to go away now.
                    result = reported;
                    deadline = Clock::now() + exitBound;
                }
            }
            if (pending.size() > 1024)
                return result;  // no helper of ours says that much
        }
        return result;
    }

private:
    bool Send(const std::string& bytes)
    {
        fcntl(request.Get(), F_SETFL, O_NONBLOCK);
        for (std::size_t sent = 0; sent < bytes.size();) {
            if (!Wait(request.Get(), POLLOUT))
                return false;
            const ssize_t n = write(request.Get(), bytes.data() + sent, bytes.size() - sent);
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                return false;
            sent += n > 0 ? static_cast<std::size_t>(n) : 0;
        }
        request.Reset();  // the end of the request
        return true;
    }

    // Waits until fd is ready; false once the deadline has passed.
    bool Wait(int fd, short events)
    {
        for (;;) {
            pollfd watched = {fd, events, 0};
            int timeout = -1;
            if (deadline) {
                const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now());
                timeout = static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
            }
            const int ready = poll(&watched, 1, timeout);
            if (ready > 0)
                return true;
            if (ready == 0 || errno != EINTR)
                return false;
        }
    }

    Descriptor& request;
    int status;
    std::optional<Clock::time_point> deadline = Clock::now() + onScreenBound;
};

}  // namespace

std::int32_t RunMessageBox(const MessageBoxRequest& request, WindowHandle, ShowInProcess)
{
    if (!HasDisplay())
        return -1;
    const std::string helper = HelperPath();
    Descriptor requestRead, requestWrite, statusRead, statusWrite;
    if (helper.empty() || !MakePipe(requestRead, requestWrite) || !MakePipe(statusRead, statusWrite))
        return -1;
    const pid_t process = Spawn(helper.c_str(), {helper},
                                {.standardInput = requestRead.Get(), .standardOutput = statusWrite.Get()});
    requestRead.Reset();
    statusWrite.Reset();
    if (process == 0)
        return -1;

    const std::optional<std::int32_t> result =
        HelperSession(requestWrite, statusRead.Get()).Run(EncodeMessageBoxRequest(request));
    // Ended, or given up: either way nothing of the box outlives this call.
    kill(process, SIGKILL);
    WaitFor(process);
    return result.value_or(-1);
}

// This process shows no windows of its own: its boxes run in the helper.
Gui* LoadGui() { return nullptr; }

}  // namespace Platform
