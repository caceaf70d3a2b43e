#include "bench/xvfb_server.h"

#include "bench/unique_fd.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

namespace bench {

namespace {

constexpr int kStartTimeoutMs = 10'000;

// Reads what Xvfb writes to its -displayfd: the display number and a newline.
std::optional<std::string> readDisplayNumber(int fd)
{
    std::string number;
    pollfd p{fd, POLLIN, 0};
    while (::poll(&p, 1, kStartTimeoutMs) > 0) {
        char c = 0;
        if (::read(fd, &c, 1) != 1) {
            break;
        }
        if (c == '\n') {
            return number;
        }
        number += c;
    }
    return std::nullopt;
}

struct DisplayCloser {
    void operator()(Display* d) const { XCloseDisplay(d); }
};

// openbox owns the WM_S0 selection once it manages the screen.
bool managed(const std::string& display)
{
    const std::unique_ptr<Display, DisplayCloser> connection(XOpenDisplay(display.c_str()));
    if (!connection) {
        return false;
    }
    return XGetSelectionOwner(connection.get(), XInternAtom(connection.get(), "WM_S0", False)) != None;
}

} // namespace

std::optional<XvfbServer> XvfbServer::start(const std::string& logPath, const std::string& screen)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return std::nullopt;
    }
    UniqueFd readEnd(ends[0]);
    UniqueFd writeEnd(ends[1]);
    auto process = ChildProcess::start(
        // -noreset, as tests/display_session.sh starts it: the programs come
        // and go one after another, and one that connects while the server
        // resets after the last client left would be refused.
        {"Xvfb", "-displayfd", std::to_string(writeEnd.get()), "-screen", "0", screen, "-nolisten", "tcp", "-noreset"},
        {.extraEnvironment = {}, .logPath = logPath, .inheritedFd = writeEnd.get()});
    if (!process) {
        return std::nullopt;
    }
    writeEnd.reset();
    auto number = readDisplayNumber(readEnd.get());
    if (!number || number->empty()) {
        std::fprintf(stderr, "Xvfb did not start; see %s\n", logPath.c_str());
        return std::nullopt;
    }
    return XvfbServer(std::move(*process), ":" + *number);
}

std::optional<WindowManager> WindowManager::start(const std::string& display, const std::string& logPath)
{
    auto process = ChildProcess::start(
        {"openbox"}, {.extraEnvironment = {"DISPLAY=" + display}, .logPath = logPath, .inheritedFd = {}});
    if (!process) {
        return std::nullopt;
    }
    using namespace std::chrono_literals;
    for (int i = 0; i < 100; ++i) {
        if (managed(display)) {
            return WindowManager(std::move(*process));
        }
        std::this_thread::sleep_for(100ms);
    }
    std::fprintf(stderr, "openbox did not take the screen; see %s\n", logPath.c_str());
    return std::nullopt;
}

} // namespace bench
