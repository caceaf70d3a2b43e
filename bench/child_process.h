#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace bench {

// A program started by fork and exec, stopped and reaped when dropped.
class ChildProcess {
public:
    struct Options {
        std::vector<std::string> extraEnvironment; // "NAME=value", added to ours
        std::string logPath = "/dev/null"; // its standard output and error
        std::optional<int> inheritedFd; // one of our descriptors it keeps
    };

    // Returns nothing, after saying why on stderr, when the program cannot be run.
    static std::optional<ChildProcess> start(const std::vector<std::string>& argv, const Options& options);

    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess();

    pid_t pid() const { return pid_; }
    // False once it has ended; it is then reaped.
    bool running();
    // SIGTERM, then SIGKILL if it lingers; returns once it is reaped.
    void stop();
    // The processor time (user and system, all its threads) it used, once it
    // has been reaped.
    std::optional<std::chrono::microseconds> cpuTime() const { return cpuTime_; }

private:
    explicit ChildProcess(pid_t pid) : pid_(pid) {}
    void reaped(const rusage& usage);

    pid_t pid_ = -1;
    std::optional<std::chrono::microseconds> cpuTime_;
};

} // namespace bench
