#include "app/CommandLine.h"
#include "app/QtOptions.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QStringList>

#include <sstream>
#include <string>
#include <vector>

namespace {

app::CommandLine read(std::vector<const char*> arguments)
{
    arguments.insert(arguments.begin(), "qinghe-taxcalc");
    return app::readCommandLine(static_cast<int>(arguments.size()), arguments.data());
}

struct ReadCase {
    const char* name;
    std::vector<const char*> arguments;
    app::Request request;
    std::string error;
};

class ReadCommandLine : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadCommandLine, AsksForWhatItSays)
{
    const auto& row = GetParam();
    const auto commandLine = read(row.arguments);
    EXPECT_EQ(commandLine.request, row.request);
    EXPECT_EQ(commandLine.error, row.error);
}

using app::Request;
INSTANTIATE_TEST_SUITE_P(Rows, ReadCommandLine,
    testing::Values(ReadCase{"Nothing", {}, Request::OpenWindow, ""},
        ReadCase{"Help", {"--help"}, Request::ShowHelp, ""}, ReadCase{"ShortHelp", {"-h"}, Request::ShowHelp, ""},
        ReadCase{"Version", {"--version"}, Request::ShowVersion, ""},
        ReadCase{"ShortVersion", {"-v"}, Request::ShowVersion, ""},
        ReadCase{"HelpAfterQtOption", {"-style", "Fusion", "--help"}, Request::ShowHelp, ""},
        ReadCase{"QtOptionsWithValues", {"-platform", "offscreen", "-qwindowgeometry", "+10+10", "-reverse"},
            Request::OpenWindow, ""},
        ReadCase{"QtOptionWithTwoDashes", {"--style", "Fusion"}, Request::OpenWindow, ""},
        ReadCase{"JoinedValue", {"-style=Fusion"}, Request::OpenWindow, ""},
        // The value of a Qt option is never read as an option itself.
        ReadCase{"ValueLikeAnOption", {"-qwindowtitle", "--help"}, Request::OpenWindow, ""},
        ReadCase{"X11Options", {"-display", ":0", "-name", "calc", "-nograb"}, Request::OpenWindow, ""},
        ReadCase{"Unknown", {"--frob"}, Request::Refuse, "unknown option '--frob'"},
        ReadCase{"UnknownShort", {"-x"}, Request::Refuse, "unknown option '-x'"},
        ReadCase{"JoinedValueNotTaken", {"-platform=xcb"}, Request::Refuse, "unknown option '-platform=xcb'"},
        ReadCase{"PrefixOfAnOption", {"-plat"}, Request::Refuse, "unknown option '-plat'"},
        ReadCase{"UnknownBeforeHelp", {"--frob", "--help"}, Request::Refuse, "unknown option '--frob'"},
        ReadCase{"Argument", {"numbers.txt"}, Request::Refuse, "unexpected argument 'numbers.txt'"},
        ReadCase{"LoneDash", {"-"}, Request::Refuse, "unexpected argument '-'"},
        ReadCase{"MissingValue", {"-platform"}, Request::Refuse, "option '-platform' needs a value"}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

TEST(ReadCommandLine, KeepsWhatChoosesTheDisplay)
{
    const auto commandLine = read({"-platform", "wayland", "--display", ":3"});
    EXPECT_EQ(commandLine.platform, "wayland");
    EXPECT_EQ(commandLine.display, ":3");
}

struct Answer {
    std::optional<int> status;
    std::string out, err;
};

Answer answer(const std::vector<const char*>& arguments, const app::DisplayEnvironment& environment)
{
    std::ostringstream out, err;
    const auto status = app::answerWithoutWindow(read(arguments), environment, out, err);
    return {status, out.str(), err.str()};
}

const app::DisplayEnvironment kNoDisplay{};
const app::DisplayEnvironment kX11{":0", "", "", ""};

TEST(AnswerWithoutWindow, HelpAndVersionGoToStandardOutputWithoutADisplay)
{
    const auto help = answer({"--help"}, kNoDisplay);
    EXPECT_EQ(help.status, app::kExitSuccess);
    EXPECT_EQ(help.out, app::usageText());
    EXPECT_TRUE(help.out.starts_with("Usage: qinghe-taxcalc [OPTION]...\n"));
    EXPECT_EQ(help.err, "");

    const auto version = answer({"--version"}, kNoDisplay);
    EXPECT_EQ(version.status, app::kExitSuccess);
    EXPECT_TRUE(version.out.starts_with("qinghe-taxcalc 0.1.0\n")) << version.out;
    EXPECT_EQ(version.err, "");
}

TEST(AnswerWithoutWindow, RefusesWithOneLineAndTheUsage)
{
    const auto refused = answer({"--frob"}, kX11);
    EXPECT_EQ(refused.status, app::kExitUsage);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "qinghe-taxcalc: unknown option '--frob'\n" + app::usageText());
}

TEST(AnswerWithoutWindow, LetsTheWindowOpenWhereADisplayIsNamed)
{
    const auto opened = answer({"-style", "Fusion"}, kX11);
    EXPECT_EQ(opened.status, std::nullopt);
    EXPECT_EQ(opened.out + opened.err, "");
}

struct DisplayCase {
    const char* name;
    std::vector<const char*> arguments;
    app::DisplayEnvironment environment;
    bool missing;
};

class MissingDisplay : public testing::TestWithParam<DisplayCase> {};

TEST_P(MissingDisplay, OnlyWhereNothingCouldBeFound)
{
    const auto& row = GetParam();
    const auto missing = app::missingDisplay(read(row.arguments), row.environment);
    EXPECT_EQ(missing.has_value(), row.missing);
    if (missing) {
        EXPECT_EQ(*missing, "qinghe-taxcalc: no display could be opened: neither DISPLAY nor WAYLAND_DISPLAY is set");
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, MissingDisplay,
    testing::Values(DisplayCase{"Nothing", {}, {}, true}, DisplayCase{"X11", {}, {":0", "", "", ""}, false},
        DisplayCase{"Wayland", {}, {"", "wayland-0", "", ""}, false},
        DisplayCase{"DisplayOption", {"-display", ":1"}, {}, false},
        DisplayCase{"EmptyDisplayOption", {"-display", ""}, {}, true},
        DisplayCase{"PlatformOption", {"-platform", "offscreen"}, {}, false},
        DisplayCase{"PlatformVariable", {}, {"", "", "offscreen", ""}, false},
        DisplayCase{"WaylandSession", {}, {"", "", "", "wayland"}, false},
        DisplayCase{"X11Session", {}, {"", "", "", "x11"}, true}),
    [](const testing::TestParamInfo<DisplayCase>& info) { return std::string(info.param.name); });

TEST(DisplayFailure, NamesWhatWasTried)
{
    EXPECT_EQ(app::displayFailure(read({}), {":99", "", "", ""}),
        "qinghe-taxcalc: no display could be opened: DISPLAY is \":99\", WAYLAND_DISPLAY is not set");
    EXPECT_EQ(app::displayFailure(read({"-display", ":5"}), {"", "wayland-1", "xcb", ""}),
        "qinghe-taxcalc: no display could be opened: QT_QPA_PLATFORM is \"xcb\", -display is \":5\", "
        "DISPLAY is not set, WAYLAND_DISPLAY is \"wayland-1\"");
    EXPECT_EQ(app::displayFailure(read({"-platform", "vnc"}), {"", "", "xcb", ""}),
        "qinghe-taxcalc: no display could be opened: -platform is \"vnc\", DISPLAY is not set, "
        "WAYLAND_DISPLAY is not set");
}

// What the table lets through, Qt really takes: QApplication removes each
// option (and its value) from the arguments it is given. The X11 ones are
// only taken by the xcb platform, which tests/smoke_window.sh starts.
TEST(QtOptions, QApplicationTakesEveryOptionLetThrough)
{
    const std::string pluginPath = QLibraryInfo::path(QLibraryInfo::PluginsPath).toStdString() + "/platforms";
    for (const auto& option : app::kQtOptions) {
        if (option.scope != app::QtOptionScope::Everywhere) {
            continue;
        }
        std::string name(option.name);
        std::string value = option.name == "-platform" ? "offscreen"
            : option.name == "-platformpluginpath"     ? pluginPath
            : option.name == "-style"                  ? "Fusion"
            : option.name == "-qmljsdebugger"          ? "port:0"
                                                       : "x";
        std::vector<std::string> words{"qinghe-taxcalc", name};
        if (option.takesValue) {
            words.push_back(value);
        }
        std::vector<char*> argv;
        for (auto& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        int argc = static_cast<int>(words.size());
        const app::CommandLine commandLine = app::readCommandLine(argc, argv.data());
        EXPECT_EQ(commandLine.request, app::Request::OpenWindow) << name;
        {
            QApplication application(argc, argv.data());
            EXPECT_EQ(QApplication::arguments(), QStringList{"qinghe-taxcalc"}) << name;
        }
        if (option.joinedValue) {
            std::string joined = name + "=" + value;
            char* joinedArgv[] = {words[0].data(), joined.data(), nullptr};
            int joinedArgc = 2;
            QApplication application(joinedArgc, joinedArgv);
            EXPECT_EQ(QApplication::arguments(), QStringList{"qinghe-taxcalc"}) << joined;
        }
    }
}

} // namespace
