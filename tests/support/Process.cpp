#include "support/Process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace TestSupport {
namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> MergedEnvironment(const ProcessOptions& options)
{
    std::map<std::string, std::string> merged;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const auto eq = entry.find('=');
        if (eq != std::string::npos)
            merged[entry.substr(0, eq)] = entry.substr(eq + 1);
    }
    for (const auto& [name, value] : options.environment) {
        if (value)
            merged[name] = *value;
        else
            merged.erase(name);
    }
    std::vector<std::string> result;
    for (const auto& [name, value] : merged)
        result.push_back(name + "=" + value);
    return result;
}

std::vector<char*> Pointers(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (std::string& s : strings)
        pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

pid_t Spawn(std::vector<std::string> argv, const ProcessOptions& options, int outFd, int errFd)
{
    std::vector<std::string> env = MergedEnvironment(options);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outFd, 1);
    posix_spawn_file_actions_adddup2(&actions, errFd, 2);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (!options.workingDirectory.empty())
        posix_spawn_file_actions_addchdir_np(&actions, options.workingDirectory.c_str());
    posix_spawn_file_actions_addclosefrom_np(&actions, 3);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // Its own process group, so that a stop reaches what it started too.
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    std::vector<char*> argp = Pointers(argv);
    std::vector<char*> envp = Pointers(env);
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, argv[0].c_str(), &actions, &attributes, argp.data(), envp.data());
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(rc));
    return pid;
}

int WaitExit(pid_t pid)
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv, const ProcessOptions& options)
{
    int out[2];
    int err[2];
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe");
    const auto start = Clock::now();
    const pid_t pid = Spawn(argv, options, out[1], err[1]);
    close(out[1]);
    close(err[1]);

    ProcessResult result;
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open = 2;
    while (open > 0) {
        const auto left = options.timeout - (Clock::now() - start);
        const int ms = static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(left).count());
        if (ms <= 0) {
            result.timedOut = true;
            break;
        }
        if (poll(fds, 2, ms) < 0 && errno != EINTR)
            break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            char buffer[4096];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    if (result.timedOut)
        kill(-pid, SIGKILL);
    // The output pipes may stay open in a grandchild; the exit is what counts.
    for (const pollfd& fd : fds) {
        if (fd.fd >= 0)
            close(fd.fd);
    }
    result.exitCode = WaitExit(pid);
    if (result.timedOut)
        result.exitCode = -1;
    result.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    return result;
}

BackgroundProcess::BackgroundProcess(const std::vector<std::string>& argv, const ProcessOptions& options)
{
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe");
    pid_ = Spawn(argv, options, out[1], 2);
    close(out[1]);
    outFd_ = out[0];
}

BackgroundProcess::~BackgroundProcess() { Stop(); }

std::optional<std::string> BackgroundProcess::ReadLine(std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        const auto eol = pending_.find('\n');
        if (eol != std::string::npos) {
            std::string line = pending_.substr(0, eol);
            pending_.erase(0, eol + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || outFd_ < 0)
            return std::nullopt;
        pollfd fd = {outFd_, POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(left)) <= 0)
            continue;
        char buffer[1024];
        const ssize_t n = read(outFd_, buffer, sizeof buffer);
        if (n <= 0)
            return std::nullopt;
        pending_.append(buffer, static_cast<std::size_t>(n));
    }
}

int BackgroundProcess::Stop()
{
    if (pid_ == 0)
        return -1;
    const pid_t group = pid_;
    kill(-group, SIGTERM);
    int status = 0;
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = 0;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (pid_ != 0) {
        kill(-pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        pid_ = 0;
    }
    kill(-group, SIGKILL);  // whatever it started and left behind
    if (outFd_ >= 0)
        close(outFd_);
    outFd_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TempDir::TempDir(const std::string& prefix)
{
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp");
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteFile(const std::string& path, const std::string& content, bool executable)
{
    std::ofstream(path, std::ios::binary) << content;
    if (executable)
        chmod(path.c_str(), 0755);
}

bool WaitForFile(const std::string& path, std::chrono::milliseconds timeout, const std::string& text)
{
    const auto ready = [&] {
        return access(path.c_str(), F_OK) == 0 && (text.empty() || ReadFile(path).find(text) != std::string::npos);
    };
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        if (ready())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return ready();
}

std::vector<int> ProcessesWithEnvironment(const std::string& entry)
{
    std::vector<int> found;
    for (const auto& process : std::filesystem::directory_iterator("/proc")) {
        const std::string name = process.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos || std::stoi(name) == getpid())
            continue;
        const std::string environment = ReadFile(process.path() / "environ");
        std::size_t at = 0;
        for (auto end = environment.find('\0'); end != std::string::npos; end = environment.find('\0', at = end + 1)) {
            if (environment.compare(at, end - at, entry) == 0) {
                found.push_back(std::stoi(name));
                break;
            }
        }
    }
    return found;
}

std::string CommandLines(const std::vector<int>& processes)
{
    std::string lines;
    for (const int process : processes) {
        std::string line = ReadFile("/proc/" + std::to_string(process) + "/cmdline");
        std::replace(line.begin(), line.end(), '\0', ' ');
        lines += std::to_string(process) + ": " + line + "\n";
    }
    return lines;
}

}  // namespace TestSupport
