#pragma once

#include "app/DisplayCheck.h"
#include "app/ExitStatus.h"
#include "app/Language.h"
#include "calc/Extended.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace app {

enum class Request { OpenWindow, Pick, ShowHelp, ShowVersion, Refuse };

// Why a command line is refused; the text is written in the user's language
// (refusalText), around `CommandLine::subject`.
enum class Refusal {
    None,
    UnknownOption, // subject: the option
    UnexpectedArgument, // subject: the argument
    MissingValue, // subject: the option
    NotANumber, // subject: the text after --pick
    NotAWindow, // subject: the text after --attach
    NotARate, // subject: the text after --rate
    TapeWithPick, // --print-tape and --pick together
};

// What the command line asks for. Beside its own options the program lets
// Qt's (-platform, -display, -style, ...) through to QApplication, and keeps
// the two that choose the display so that a missing display can be named.
struct CommandLine {
    Request request = Request::OpenWindow;
    Refusal refusal = Refusal::None;
    std::string subject;
    calc::Extended start = 0; // Pick: the number the entry line starts with
    std::optional<std::uint32_t> attachTo; // --attach WINDOWID
    std::optional<calc::Extended> rate; // --rate PERCENT, as the rate key takes it
    bool printTape = false; // --print-tape
    std::optional<std::string> platform; // -platform NAME
    std::optional<std::string> display; // -display NAME
    std::optional<std::string> windowGeometry; // -qwindowgeometry GEOMETRY
};

// {"qinghe-taxcalc"} -> OpenWindow; {"qinghe-taxcalc", "--pick", "12.5"} ->
// Pick from 12.5; {"qinghe-taxcalc", "-style", "Fusion"} -> OpenWindow;
// {"qinghe-taxcalc", "--frob"} -> Refuse. The first option that decides
// (help, version or an error) ends the reading, as getopt does; the one
// argument that is not an option, the NUMBER of --pick, may stand anywhere,
// and after "--" even a "-5".
CommandLine readCommandLine(int argc, const char* const argv[]);

std::string usageText(Language language);
std::string versionText();
// "unknown option '--frob'", without the program's name.
std::string refusalText(const CommandLine& commandLine, Language language);
// "; try 'qinghe-taxcalc --help'", to follow a refusal on its line.
std::string tryHelpText(Language language);

// Everything the program answers without a window: help, version, a refused
// command line, a missing display. Writes the answer and returns the exit
// status; nothing when the window is to open.
std::optional<int> answerWithoutWindow(const CommandLine& commandLine, const DisplayEnvironment& environment,
    const TextOutput& output, std::ostream& out, std::ostream& err);

} // namespace app
