#include "bench/child_process.h"

#include "bench/unique_fd.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <utility>

extern char** environ;

namespace bench {

namespace {

std::vector<char*> pointersTo(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (std::string& s : strings) {
        pointers.push_back(s.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

std::optional<ChildProcess> ChildProcess::start(const std::vector<std::string>& argv, const Options& options)
{
    // Everything the child needs is made before fork: after it, only
    // async-signal-safe calls.
    std::vector<std::string> arguments = argv;
    std::vector<std::string> environment;
    for (char** e = environ; *e != nullptr; ++e) {
        environment.emplace_back(*e);
    }
    environment.insert(environment.end(), options.extraEnvironment.begin(), options.extraEnvironment.end());
    const std::vector<char*> argp = pointersTo(arguments);
    const std::vector<char*> envp = pointersTo(environment);

    UniqueFd log(::open(options.logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!log) {
        std::fprintf(stderr, "cannot open %s: %s\n", options.logPath.c_str(), std::strerror(errno));
        return std::nullopt;
    }
    // The child reports a failed exec through this pipe; a successful exec
    // closes it.
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return std::nullopt;
    }
    UniqueFd readEnd(ends[0]);
    UniqueFd writeEnd(ends[1]);

    const pid_t pid = ::fork();
    if (pid < 0) {
        std::fprintf(stderr, "fork: %s\n", std::strerror(errno));
        return std::nullopt;
    }
    if (pid == 0) {
        ::dup2(log.get(), STDOUT_FILENO);
        ::dup2(log.get(), STDERR_FILENO);
        if (options.inheritedFd) {
            ::fcntl(*options.inheritedFd, F_SETFD, 0);
        }
        ::execvpe(argp[0], argp.data(), envp.data());
        const int error = errno;
        [[maybe_unused]] const auto written = ::write(writeEnd.get(), &error, sizeof error);
        ::_exit(127);
    }
    writeEnd.reset();
    ChildProcess child(pid);
    int error = 0;
    if (::read(readEnd.get(), &error, sizeof error) == static_cast<ssize_t>(sizeof error)) {
        std::fprintf(stderr, "cannot run %s: %s\n", argv[0].c_str(), std::strerror(error));
        return std::nullopt;
    }
    return child;
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : pid_(std::exchange(other.pid_, -1))
    , cpuTime_(other.cpuTime_)
{
}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept
{
    if (this != &other) {
        stop();
        pid_ = std::exchange(other.pid_, -1);
        cpuTime_ = other.cpuTime_;
    }
    return *this;
}

ChildProcess::~ChildProcess() { stop(); }

bool ChildProcess::running()
{
    if (pid_ <= 0) {
        return false;
    }
    int status = 0;
    rusage usage{};
    if (::wait4(pid_, &status, WNOHANG, &usage) == 0) {
        return true;
    }
    reaped(usage);
    return false;
}

void ChildProcess::reaped(const rusage& usage)
{
    using std::chrono::microseconds, std::chrono::seconds;
    auto time = [](const timeval& t) { return seconds(t.tv_sec) + microseconds(t.tv_usec); };
    cpuTime_ = time(usage.ru_utime) + time(usage.ru_stime);
    pid_ = -1;
}

void ChildProcess::stop()
{
    if (!running()) {
        return;
    }
    ::kill(pid_, SIGTERM);
    using namespace std::chrono_literals;
    for (int i = 0; i < 200 && running(); ++i) {
        std::this_thread::sleep_for(10ms);
    }
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        rusage usage{};
        ::wait4(pid_, nullptr, 0, &usage);
        reaped(usage);
    }
}

} // namespace bench
