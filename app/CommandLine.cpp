#include "app/CommandLine.h"

#include "app/QtOptions.h"
#include "app/Version.h"

#include <algorithm>

namespace app {

namespace {

CommandLine refuse(std::string error)
{
    CommandLine refused;
    refused.request = Request::Refuse;
    refused.error = std::move(error);
    return refused;
}

// Qt reads "--style" as "-style"; so do we.
std::string_view qtSpelling(std::string_view argument)
{
    if (argument.size() > 2 && argument.starts_with("--")) {
        argument.remove_prefix(1);
    }
    return argument;
}

// "-style" and "-style=Fusion" both find -style.
const QtOption* findQtOption(std::string_view argument)
{
    const auto* found = std::find_if(kQtOptions.begin(), kQtOptions.end(), [argument](const QtOption& option) {
        if (argument == option.name) {
            return true;
        }
        return option.joinedValue && argument.starts_with(option.name) && argument.size() > option.name.size() &&
            argument[option.name.size()] == '=';
    });
    return found == kQtOptions.end() ? nullptr : found;
}

} // namespace

CommandLine readCommandLine(int argc, const char* const argv[])
{
    CommandLine result;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-h" || argument == "--help") {
            result.request = Request::ShowHelp;
            return result;
        }
        if (argument == "-v" || argument == "--version") {
            result.request = Request::ShowVersion;
            return result;
        }
        if (!argument.starts_with('-') || argument == "-" || argument == "--") {
            return refuse("unexpected argument '" + std::string(argument) + "'");
        }
        const std::string_view spelled = qtSpelling(argument);
        const QtOption* option = findQtOption(spelled);
        if (option == nullptr) {
            return refuse("unknown option '" + std::string(argument) + "'");
        }
        if (!option->takesValue || spelled != option->name) {
            continue;
        }
        if (i + 1 == argc) {
            return refuse("option '" + std::string(argument) + "' needs a value");
        }
        const std::string value = argv[++i];
        if (option->name == "-platform") {
            result.platform = value;
        } else if (option->name == "-display") {
            result.display = value;
        }
    }
    return result;
}

std::string usageText()
{
    const std::string name(kProgramName);
    return "Usage: " + name +
        " [OPTION]...\n"
        "Opens the tax-rate calculator: a pocket calculator with a memory, a running\n"
        "tape and four tax keys.\n"
        "\n"
        "  -h, --help     print this help and exit\n"
        "  -v, --version  print the version and exit\n"
        "\n"
        "Qt's own options work as in every Qt program, among them -platform NAME,\n"
        "-display DISPLAY, -style STYLE, -qwindowgeometry GEOMETRY and -reverse.\n"
        "The keys and the exit statuses are in the manual page " +
        name + "(1).\n";
}

std::string versionText()
{
    return std::string(kProgramName) + " " + std::string(kProgramVersion) +
        "\n"
        "Copyright (c) 2026 Qinghe TaxCalc developers\n"
        "This is free software under the MIT License; there is NO WARRANTY.\n";
}

std::optional<int> answerWithoutWindow(
    const CommandLine& commandLine, const DisplayEnvironment& environment, std::ostream& out, std::ostream& err)
{
    switch (commandLine.request) {
    case Request::ShowHelp: out << usageText(); return kExitSuccess;
    case Request::ShowVersion: out << versionText(); return kExitSuccess;
    case Request::Refuse: err << kProgramName << ": " << commandLine.error << '\n' << usageText(); return kExitUsage;
    case Request::OpenWindow: break;
    }
    if (const auto missing = missingDisplay(commandLine, environment)) {
        err << *missing << '\n';
        return kExitNoDisplay;
    }
    return std::nullopt;
}

} // namespace app
