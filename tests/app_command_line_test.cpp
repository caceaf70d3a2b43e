#include "app/CommandLine.h"
#include "app/QtOptions.h"
#include "tests/RowName.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QStringList>

#include <map>
#include <ostream>
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

void PrintTo(const ReadCase& row, std::ostream* out) { *out << row.name; }

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
        ReadCase{"HelpAfterQtOption", {"-style", "Fusion", "--help"}, Request::ShowHelp, ""},
        ReadCase{"QtOptionsWithValues", {"-platform", "offscreen", "-qwindowgeometry", "+10+10", "-reverse"},
            Request::OpenWindow, ""},
        ReadCase{"QtOptionWithTwoDashes", {"--style", "Fusion"}, Request::OpenWindow, ""},
        ReadCase{"JoinedValue", {"-style=Fusion"}, Request::OpenWindow, ""},
        // The value of a Qt option is never read as an option itself.
        ReadCase{"ValueLikeAnOption", {"-qwindowtitle", "--help"}, Request::OpenWindow, ""},
        ReadCase{"X11Options", {"-display", ":0", "-name", "calc", "-nograb"}, Request::OpenWindow, ""},
        ReadCase{"Unknown", {"--frob"}, Request::Refuse, "unknown option '--frob'"},
        ReadCase{"JoinedValueNotTaken", {"-platform=xcb"}, Request::Refuse, "unknown option '-platform=xcb'"},
        ReadCase{"PrefixOfAnOption", {"-plat"}, Request::Refuse, "unknown option '-plat'"},
        ReadCase{"UnknownBeforeHelp", {"--frob", "--help"}, Request::Refuse, "unknown option '--frob'"},
        ReadCase{"Argument", {"numbers.txt"}, Request::Refuse, "unexpected argument 'numbers.txt'"},
        ReadCase{"MissingValue", {"-platform"}, Request::Refuse, "option '-platform' needs a value"}),
    RowName());

struct DisplayCase {
    const char* name;
    std::vector<const char*> arguments;
    app::DisplayEnvironment environment;
    bool missing;
};

void PrintTo(const DisplayCase& row, std::ostream* out) { *out << row.name; }

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
    RowName());

TEST(DisplayFailure, NamesWhatWasTried)
{
    EXPECT_EQ(app::displayFailure(read({"-display", ":5"}), {"", "wayland-1", "xcb", ""}),
        "qinghe-taxcalc: no display could be opened: QT_QPA_PLATFORM is \"xcb\", -display is \":5\", "
        "DISPLAY is not set, WAYLAND_DISPLAY is \"wayland-1\"");
}

// Reads the words as the program does, then lets QApplication take them:
// true when Qt leaves nothing but the program's name.
bool takenByQt(std::vector<std::string> words)
{
    words.insert(words.begin(), "qinghe-taxcalc");
    std::vector<char*> argv;
    for (auto& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    int argc = static_cast<int>(words.size());
    if (app::readCommandLine(argc, argv.data()).request != app::Request::OpenWindow) {
        return false;
    }
    const QApplication application(argc, argv.data());
    return QApplication::arguments() == QStringList{"qinghe-taxcalc"};
}

// What the table lets through, Qt really takes. The X11 options are taken
// only by the xcb platform, which tests/smoke_window.sh starts.
TEST(QtOptions, QApplicationTakesEveryOptionLetThrough)
{
    const std::map<std::string_view, std::string> values{{"-platform", "offscreen"},
        {"-platformpluginpath", QLibraryInfo::path(QLibraryInfo::PluginsPath).toStdString() + "/platforms"},
        {"-style", "Fusion"}, {"-qmljsdebugger", "port:0"}};
    for (const auto& option : app::kQtOptions) {
        if (option.scope != app::QtOptionScope::Everywhere) {
            continue;
        }
        const std::string name(option.name);
        const std::string value = values.contains(option.name) ? values.at(option.name) : "x";
        EXPECT_TRUE(option.takesValue ? takenByQt({name, value}) : takenByQt({name})) << name;
        if (option.joinedValue) {
            EXPECT_TRUE(takenByQt({name + "=" + value})) << name;
        }
    }
}

} // namespace
