#pragma once

#include "bench/child_process.h"

#include <optional>
#include <string>

namespace bench {

// An Xvfb of our own on a free display, stopped when dropped.
class XvfbServer {
public:
    // Returns nothing, after saying why on stderr, when no server came up.
    // `screen` as Xvfb's -screen takes it: width x height x depth.
    static std::optional<XvfbServer> start(const std::string& logPath, const std::string& screen = "1024x768x24");

    // ":<n>", for DISPLAY.
    const std::string& display() const { return display_; }

private:
    XvfbServer(ChildProcess process, std::string display) : process_(std::move(process)), display_(std::move(display))
    {
    }

    ChildProcess process_;
    std::string display_;
};

// An openbox on that server, stopped when dropped.
class WindowManager {
public:
    static std::optional<WindowManager> start(const std::string& display, const std::string& logPath);

private:
    explicit WindowManager(ChildProcess process) : process_(std::move(process)) {}
    ChildProcess process_;
};

} // namespace bench
