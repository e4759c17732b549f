#pragma once
// Runs a real child process for a test: its output captured, its time bounded.

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace TestSupport {

struct ProcessOptions {
    std::string workingDirectory;                                 // empty: the test's own
    std::map<std::string, std::optional<std::string>> environment;  // set, or remove with nullopt
    std::chrono::milliseconds timeout{10000};
};

struct ProcessResult {
    int exitCode = -1;       // -1 when killed or not started
    bool timedOut = false;
    std::string out;
    std::string err;
    std::chrono::milliseconds elapsed{0};
};

ProcessResult RunProcess(const std::vector<std::string>& argv, const ProcessOptions& options = {});

// A child that runs beside the test until it is stopped or destroyed.
class BackgroundProcess {
public:
    BackgroundProcess(const std::vector<std::string>& argv, const ProcessOptions& options = {});
    ~BackgroundProcess();
    BackgroundProcess(const BackgroundProcess&) = delete;
    BackgroundProcess& operator=(const BackgroundProcess&) = delete;

    int pid() const { return pid_; }
    // Reads one line of its standard output, waiting at most timeout.
    std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);
    // Ends it (SIGTERM, then SIGKILL) and returns its exit status.
    int Stop();

private:
    int pid_ = 0;
    int outFd_ = -1;
    std::string pending_;
};

// A fresh directory, removed with everything in it at the end of the scope.
class TempDir {
public:
    explicit TempDir(const std::string& prefix = "vantrelz-test");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& content, bool executable = false);
// Waits until a file exists, and holds text when given, at most timeout.
bool WaitForFile(const std::string& path, std::chrono::milliseconds timeout, const std::string& text = "");

// The processes on the machine whose environment holds this entry
// ("NAME=value"): what a test's children left running, whoever started them.
std::vector<int> ProcessesWithEnvironment(const std::string& entry);
// Their command lines, one a line, for a failure message.
std::string CommandLines(const std::vector<int>& processes);

}  // namespace TestSupport
