#pragma once

#include "app/DisplayCheck.h"

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace app {

// Exit statuses of the program, as the manual page lists them.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitNoDisplay = 1;
inline constexpr int kExitUsage = 2;

enum class Request { OpenWindow, ShowHelp, ShowVersion, Refuse };

// What the command line asks for. The program has no options of its own
// beyond --help and --version; Qt's own (-platform, -display, -style, ...)
// are let through to QApplication, and the two that choose the display are
// kept so that a missing display can be named.
struct CommandLine {
    Request request = Request::OpenWindow;
    std::string error; // Refuse: one line, e.g. "unknown option '--frob'"
    std::optional<std::string> platform; // -platform NAME
    std::optional<std::string> display; // -display NAME
};

// {"qinghe-taxcalc"} -> OpenWindow; {"qinghe-taxcalc", "--version"} ->
// ShowVersion; {"qinghe-taxcalc", "-style", "Fusion"} -> OpenWindow;
// {"qinghe-taxcalc", "--frob"} -> Refuse. The first option that decides
// (help, version or an error) ends the reading, as getopt does.
CommandLine readCommandLine(int argc, const char* const argv[]);

std::string usageText();
std::string versionText();

// Everything the program answers without a window: help, version, a refused
// command line, a missing display. Writes the answer and returns the exit
// status; nothing when the window is to open.
std::optional<int> answerWithoutWindow(
    const CommandLine& commandLine, const DisplayEnvironment& environment, std::ostream& out, std::ostream& err);

} // namespace app
