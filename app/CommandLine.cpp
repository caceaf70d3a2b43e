#include "app/CommandLine.h"

#include "app/QtOptions.h"
#include "app/Version.h"
#include "calc/Calculator.h"
#include "calc/Exception.h"
#include "calc/NumberText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <vector>

namespace app {

namespace {

CommandLine refuse(Refusal refusal, std::string_view subject = {})
{
    CommandLine refused;
    refused.request = Request::Refuse;
    refused.refusal = refusal;
    refused.subject = subject;
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

namespace {

enum class OwnOption { Help, Version, Pick, Attach, PrintTape, Rate };

struct OwnOptionRow {
    std::string_view shortName; // "" where there is none
    std::string_view longName;
    bool joinedValue; // also "--name=VALUE"
    OwnOption option;
};

constexpr std::array kOwnOptions{
    OwnOptionRow{"-h", "--help", false, OwnOption::Help},
    OwnOptionRow{"-v", "--version", false, OwnOption::Version},
    OwnOptionRow{"", "--pick", true, OwnOption::Pick},
    OwnOptionRow{"", "--attach", true, OwnOption::Attach},
    OwnOptionRow{"", "--print-tape", false, OwnOption::PrintTape},
    OwnOptionRow{"", "--rate", true, OwnOption::Rate},
};

// "--attach=0x2200007" -> {"--attach", "0x2200007"}; a short or a Qt option
// keeps its '=' (Qt reads "-style=Fusion" itself).
std::pair<std::string_view, std::optional<std::string_view>> splitJoinedValue(std::string_view argument)
{
    const auto equals = argument.find('=');
    if (!argument.starts_with("--") || equals == std::string_view::npos) {
        return {argument, std::nullopt};
    }
    return {argument.substr(0, equals), argument.substr(equals + 1)};
}

const OwnOptionRow* findOwnOption(std::string_view name)
{
    const auto* found = std::find_if(kOwnOptions.begin(), kOwnOptions.end(), [name](const OwnOptionRow& row) {
        return name == row.longName || (!row.shortName.empty() && name == row.shortName);
    });
    return found == kOwnOptions.end() ? nullptr : found;
}

// An argument that is no option: "12.5", "sums.txt", "-", and a negative
// number ("-5", "-.5"), since no option starts with a digit or a point.
bool isOperand(std::string_view argument)
{
    return !argument.starts_with('-') || argument == "-" ||
        (argument.size() > 1 && (std::isdigit(static_cast<unsigned char>(argument[1])) || argument[1] == '.'));
}

// "0x2200007" or "35651591", as xwininfo and xdotool write a window id.
std::optional<std::uint32_t> readWindowId(std::string_view text)
{
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    std::uint32_t id = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || id == 0) {
        return std::nullopt;
    }
    return id;
}

std::optional<calc::Extended> readNumber(std::string_view text)
{
    try {
        return calc::ParseNumber(text);
    } catch (const calc::Exception&) {
        return std::nullopt;
    }
}

// A rate by the core's own number rules and the rate key's range.
std::optional<calc::Extended> readRate(std::string_view text)
{
    const auto rate = readNumber(text);
    if (!rate || !calc::Calculator::acceptsRate(*rate)) {
        return std::nullopt;
    }
    return rate;
}

} // namespace

CommandLine readCommandLine(int argc, const char* const argv[])
{
    CommandLine result;
    std::vector<std::string_view> operands;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (optionsEnded || isOperand(argument)) {
            operands.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        const auto [name, joinedValue] = splitJoinedValue(argument);
        if (const OwnOptionRow* own = findOwnOption(name)) {
            if (joinedValue && !own->joinedValue) {
                return refuse(Refusal::UnknownOption, argument);
            }
            // The value of an option that takes one: joined ("--rate=13") or
            // the next argument, whatever it looks like.
            const auto value = [&]() -> std::optional<std::string_view> {
                if (joinedValue) {
                    return *joinedValue;
                }
                return i + 1 < argc ? std::optional<std::string_view>(argv[++i]) : std::nullopt;
            };
            switch (own->option) {
            case OwnOption::Help: result.request = Request::ShowHelp; return result;
            case OwnOption::Version: result.request = Request::ShowVersion; return result;
            case OwnOption::Pick:
                result.request = Request::Pick;
                if (joinedValue) {
                    operands.push_back(*joinedValue);
                }
                break;
            case OwnOption::Attach: {
                const auto window = value();
                if (!window) {
                    return refuse(Refusal::MissingValue, argument);
                }
                result.attachTo = readWindowId(*window);
                if (!result.attachTo) {
                    return refuse(Refusal::NotAWindow, *window);
                }
                break;
            }
            case OwnOption::PrintTape: result.printTape = true; break;
            case OwnOption::Rate: {
                const auto percent = value();
                if (!percent) {
                    return refuse(Refusal::MissingValue, argument);
                }
                result.rate = readRate(*percent);
                if (!result.rate) {
                    return refuse(Refusal::NotARate, *percent);
                }
                break;
            }
            }
            if (result.request == Request::Pick && result.printTape) {
                return refuse(Refusal::TapeWithPick);
            }
            continue;
        }
        const std::string_view spelled = qtSpelling(argument);
        const QtOption* option = findQtOption(spelled);
        if (option == nullptr) {
            return refuse(Refusal::UnknownOption, argument);
        }
        if (!option->takesValue || spelled != option->name) {
            continue;
        }
        if (i + 1 == argc) {
            return refuse(Refusal::MissingValue, argument);
        }
        const std::string value = argv[++i];
        if (option->name == "-platform") {
            result.platform = value;
        } else if (option->name == "-display") {
            result.display = value;
        } else if (option->name == "-qwindowgeometry") {
            result.windowGeometry = value;
        }
    }
    // The one argument that is no option is the number of --pick.
    const std::size_t allowed = result.request == Request::Pick ? 1 : 0;
    if (operands.size() > allowed) {
        return refuse(Refusal::UnexpectedArgument, operands[allowed]);
    }
    if (!operands.empty()) {
        const auto start = readNumber(operands.front());
        if (!start) {
            return refuse(Refusal::NotANumber, operands.front());
        }
        result.start = *start;
    }
    return result;
}

std::optional<int> answerWithoutWindow(const CommandLine& commandLine, const DisplayEnvironment& environment,
    const TextOutput& output, std::ostream& out, std::ostream& err)
{
    switch (commandLine.request) {
    case Request::ShowHelp: out << output.render(usageText); return kExitSuccess;
    case Request::ShowVersion: out << versionText(); return kExitSuccess;
    case Request::Refuse:
        // One line, so that a caller can show it as it stands.
        err << output.render([&commandLine](Language language) {
            return std::string(kProgramName) + ": " + refusalText(commandLine, language) + tryHelpText(language) + '\n';
        });
        return kExitUsage;
    case Request::OpenWindow:
    case Request::Pick: break;
    }
    if (const auto missing = missingDisplay(commandLine.platform, commandLine.display, environment)) {
        err << *missing << '\n';
        return kExitNoDisplay;
    }
    return std::nullopt;
}

} // namespace app
