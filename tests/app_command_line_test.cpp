#include "app/CommandLine.h"
#include "app/QtOptions.h"
#include "app/WindowGeometry.h"
#include "app/WindowRun.h"
#include "calc/Tape.h"
#include "tests/ExtendedLiteral.h"
#include "tests/RowName.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QStringList>

#include <map>
#include <optional>
#include <ostream>
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
    std::string refusal; // as the English text says it
};

void PrintTo(const ReadCase& row, std::ostream* out) { *out << row.name; }

class ReadCommandLine : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadCommandLine, AsksForWhatItSays)
{
    const auto& row = GetParam();
    const auto commandLine = read(row.arguments);
    EXPECT_EQ(commandLine.request, row.request);
    EXPECT_EQ(app::refusalText(commandLine, app::Language::English), row.refusal);
}

using app::Request;
const std::string kNotARate = " is no rate for --rate: a number from 0 to under 100 such as 13, 6.5 or 1E1";
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
        ReadCase{"MissingValue", {"-platform"}, Request::Refuse, "option '-platform' needs a value"},
        ReadCase{"Pick", {"--pick"}, Request::Pick, ""}, ReadCase{"PickNumber", {"--pick", "12.5"}, Request::Pick, ""},
        ReadCase{"PickJoined", {"--pick=12.5"}, Request::Pick, ""},
        ReadCase{"PickNumberFirst", {"12.5", "--pick"}, Request::Pick, ""},
        ReadCase{"PickNegative", {"--pick", "-5"}, Request::Pick, ""},
        ReadCase{"PickAfterEnd", {"--pick", "--", "-5"}, Request::Pick, ""},
        ReadCase{"PickWord", {"--pick", "abc"}, Request::Refuse, "'abc' is not a number such as 12.5, -3 or 1.5E3"},
        ReadCase{"PickComma", {"--pick", "1,5"}, Request::Refuse, "'1,5' is not a number such as 12.5, -3 or 1.5E3"},
        ReadCase{"PickEmptyJoined", {"--pick="}, Request::Refuse, "'' is not a number such as 12.5, -3 or 1.5E3"},
        ReadCase{"PickTooLarge", {"--pick", "1E4999"}, Request::Refuse,
            "'1E4999' is not a number such as 12.5, -3 or 1.5E3"},
        ReadCase{"PickTwoNumbers", {"--pick", "1", "2"}, Request::Refuse, "unexpected argument '2'"},
        ReadCase{"PickHelpFirst", {"--pick", "--help"}, Request::ShowHelp, ""},
        ReadCase{"EndOfOptions", {"--"}, Request::OpenWindow, ""},
        ReadCase{"OptionAfterEnd", {"--", "--help"}, Request::Refuse, "unexpected argument '--help'"},
        ReadCase{"NegativeWithoutPick", {"-5"}, Request::Refuse, "unexpected argument '-5'"},
        ReadCase{"Attach", {"--attach", "0x2200007"}, Request::OpenWindow, ""},
        ReadCase{"AttachPick", {"--pick", "3", "--attach=35651591"}, Request::Pick, ""},
        ReadCase{"AttachWord", {"--attach", "calc"}, Request::Refuse,
            "'calc' is not a window id such as 0x2200007 or 35651591"},
        ReadCase{
            "AttachZero", {"--attach", "0"}, Request::Refuse, "'0' is not a window id such as 0x2200007 or 35651591"},
        ReadCase{"AttachTooLarge", {"--attach", "0x100000000"}, Request::Refuse,
            "'0x100000000' is not a window id such as 0x2200007 or 35651591"},
        ReadCase{"AttachNoValue", {"--attach"}, Request::Refuse, "option '--attach' needs a value"},
        ReadCase{"PrintTape", {"--print-tape"}, Request::OpenWindow, ""},
        ReadCase{"PrintTapeJoined", {"--print-tape=yes"}, Request::Refuse, "unknown option '--print-tape=yes'"},
        ReadCase{"PrintTapeWithPick", {"--pick", "--print-tape"}, Request::Refuse,
            "--print-tape cannot go with --pick: the picker prints the number alone"},
        ReadCase{"Rate", {"--rate", "13"}, Request::OpenWindow, ""},
        ReadCase{"RateJoined", {"--rate=6.5"}, Request::OpenWindow, ""},
        ReadCase{"RateExponent", {"--rate", "1E1"}, Request::OpenWindow, ""},
        ReadCase{"RateZero", {"--rate", "0"}, Request::OpenWindow, ""},
        ReadCase{"RateJustBelowHundred", {"--rate", "99.99"}, Request::OpenWindow, ""},
        ReadCase{"RateWithPick", {"--pick", "100", "--rate", "13"}, Request::Pick, ""},
        ReadCase{"RateBeforePick", {"--rate=9", "--pick", "-5"}, Request::Pick, ""},
        ReadCase{"RateWithPrintTape", {"--rate", "3", "--print-tape"}, Request::OpenWindow, ""},
        ReadCase{"RateHundred", {"--rate", "100"}, Request::Refuse, "'100'" + kNotARate},
        ReadCase{"RateNegative", {"--rate", "-1"}, Request::Refuse, "'-1'" + kNotARate},
        ReadCase{"RateWord", {"--rate", "abc"}, Request::Refuse, "'abc'" + kNotARate},
        ReadCase{"RatePercentSign", {"--rate", "13%"}, Request::Refuse, "'13%'" + kNotARate},
        ReadCase{"RateEmptyJoined", {"--rate="}, Request::Refuse, "''" + kNotARate},
        ReadCase{"RateTooLarge", {"--rate", "1E4999"}, Request::Refuse, "'1E4999'" + kNotARate},
        ReadCase{"RateNoValue", {"--rate"}, Request::Refuse, "option '--rate' needs a value"},
        // The value is taken whatever it looks like, as --attach's is.
        ReadCase{"RateOptionAsValue", {"--rate", "--pick"}, Request::Refuse, "'--pick'" + kNotARate},
        ReadCase{"RateNotAnOperand", {"--rate", "13", "5"}, Request::Refuse, "unexpected argument '5'"}),
    RowName());

// What the picker starts from and what it attaches to.
TEST(ReadCommandLine, KeepsTheValues)
{
    EXPECT_EQ(read({"--pick", "12.5"}).start, 12.5_x);
    EXPECT_EQ(read({"--pick=-.5"}).start, -0.5_x);
    EXPECT_EQ(read({"--pick", "--", "-1.5E3"}).start, -1500);
    EXPECT_EQ(read({"--pick"}).start, 0);
    EXPECT_EQ(read({"--attach", "0x2200007"}).attachTo, 0x2200007u);
    EXPECT_EQ(read({"--attach=35651591"}).attachTo, 35651591u);
    EXPECT_TRUE(read({"--print-tape"}).printTape);
    EXPECT_FALSE(read({}).rate.has_value());
    EXPECT_EQ(read({"--rate", "13"}).rate, std::optional<Extended>(13));
    EXPECT_EQ(read({"--rate=6.5"}).rate, std::optional<Extended>(6.5_x));
    EXPECT_EQ(read({"--rate", "1E1"}).rate, std::optional<Extended>(10));
    EXPECT_EQ(read({"--rate", "0"}).rate, std::optional<Extended>(0));
    EXPECT_EQ(read({"--rate", "99.99"}).rate, std::optional<Extended>(99.99_x));
    const auto picker = read({"--rate", "9", "--pick", "250"});
    EXPECT_EQ(picker.rate, std::optional<Extended>(9));
    EXPECT_EQ(picker.start, 250);
}

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
    const auto commandLine = read(row.arguments);
    const auto missing = app::missingDisplay(commandLine.platform, commandLine.display, row.environment);
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
    const auto commandLine = read({"-display", ":5"});
    EXPECT_EQ(app::displayFailure(commandLine.platform, commandLine.display, {"", "wayland-1", "xcb", ""}),
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

// Every option of the table in `scope` is taken by Qt, alone and, where it
// may be, with its value joined.
void expectTakenByQt(app::QtOptionScope scope)
{
    const std::map<std::string_view, std::string> values{
        {"-platform", qEnvironmentVariable("QT_QPA_PLATFORM").toStdString()},
        {"-platformpluginpath", QLibraryInfo::path(QLibraryInfo::PluginsPath).toStdString() + "/platforms"},
        {"-style", "Fusion"}, {"-qmljsdebugger", "port:0"},
        {"-display", qEnvironmentVariable("DISPLAY").toStdString()}};
    for (const auto& option : app::kQtOptions) {
        if (option.scope != scope) {
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

// What the table lets through, Qt really takes.
TEST(QtOptions, QApplicationTakesEveryOptionLetThrough) { expectTakenByQt(app::QtOptionScope::Everywhere); }

// The X11 options are taken only by the xcb platform: run on an X server of
// its own by the test app_qt_options_x11.
TEST(QtOptions, X11PlatformTakesItsOptions)
{
    if (qEnvironmentVariable("QT_QPA_PLATFORM") != QStringLiteral("xcb")) {
        GTEST_SKIP() << "needs QT_QPA_PLATFORM=xcb and an X server";
    }
    expectTakenByQt(app::QtOptionScope::X11);
}

} // namespace

namespace {

struct LanguageCase {
    const char* name;
    app::LocaleEnvironment environment; // LANGUAGE, LC_ALL, LC_MESSAGES, LC_CTYPE, LANG
    app::Language language;
    std::string codeset;
};

void PrintTo(const LanguageCase& row, std::ostream* out) { *out << row.name; }

class MessageLanguage : public testing::TestWithParam<LanguageCase> {};

TEST_P(MessageLanguage, AsGettextChooses)
{
    const auto& row = GetParam();
    EXPECT_EQ(app::messageLanguage(row.environment), row.language);
    EXPECT_EQ(app::terminalCodeset(row.environment), row.codeset);
}

using app::Language;
INSTANTIATE_TEST_SUITE_P(Rows, MessageLanguage,
    testing::Values(LanguageCase{"Nothing", {}, Language::English, "ANSI_X3.4-1968"},
        LanguageCase{"Lang", {"", "", "", "", "zh_CN.UTF-8"}, Language::Chinese, "UTF-8"},
        LanguageCase{"LangEnglish", {"", "", "", "", "en_GB.UTF-8"}, Language::English, "UTF-8"},
        LanguageCase{"MessagesOverLang", {"", "", "zh_TW.UTF-8", "", "en_US.UTF-8"}, Language::Chinese, "UTF-8"},
        LanguageCase{"AllOverMessages", {"", "de_DE.UTF-8", "zh_CN.UTF-8", "", ""}, Language::English, "UTF-8"},
        LanguageCase{"LanguageFirst", {"zh_CN:en", "", "", "", "en_US.UTF-8"}, Language::Chinese, "UTF-8"},
        LanguageCase{"LanguageEnglishFirst", {"en:zh_CN", "", "", "", "zh_CN.UTF-8"}, Language::English, "UTF-8"},
        LanguageCase{"LanguageSkipsOthers", {"fr:de:zh", "", "", "", "fr_FR.UTF-8"}, Language::Chinese, "UTF-8"},
        LanguageCase{"LanguageWithoutOurs", {"fr", "", "", "", "zh_CN.UTF-8"}, Language::English, "UTF-8"},
        // In the C locale gettext translates nothing, whatever LANGUAGE says.
        LanguageCase{"CLocale", {"zh_CN", "C", "", "", "zh_CN.UTF-8"}, Language::English, "ANSI_X3.4-1968"},
        LanguageCase{"CUtf8", {"zh_CN", "", "", "", "C.UTF-8"}, Language::English, "UTF-8"},
        LanguageCase{"Posix", {"", "", "POSIX", "", "zh_CN.UTF-8"}, Language::English, "UTF-8"},
        LanguageCase{"Gbk", {"", "", "", "", "zh_CN.GBK"}, Language::Chinese, "GBK"},
        LanguageCase{"CtypeOverLang", {"", "", "", "zh_CN.GB18030", "zh_CN.UTF-8"}, Language::Chinese, "GB18030"},
        LanguageCase{"Modifier", {"", "", "", "", "zh_CN.utf8@pinyin"}, Language::Chinese, "UTF-8"},
        // A locale that is not installed: what its name says, else UTF-8.
        LanguageCase{"NotInstalled", {"", "", "", "", "zz_ZZ.ISO-8859-15"}, Language::English, "ISO-8859-15"},
        LanguageCase{"NotInstalledNoCodeset", {"", "", "", "", "zz_ZZ"}, Language::English, "UTF-8"}),
    RowName());

TEST(InCodeset, WritesWhatTheCodesetCan)
{
    EXPECT_EQ(app::inCodeset("用法", "UTF-8"), "用法");
    EXPECT_EQ(app::inCodeset("用法", "GBK"), "\xD3\xC3\xB7\xA8");
    EXPECT_EQ(app::inCodeset("Usage", "ISO-8859-1"), "Usage");
    EXPECT_EQ(app::inCodeset("用法", "ISO-8859-1"), std::nullopt);
    EXPECT_EQ(app::inCodeset("用法", "no-such-codeset"), std::nullopt);
}

std::string answered(const std::vector<const char*>& arguments, const app::TextOutput& output, std::string* err)
{
    std::ostringstream out;
    std::ostringstream errors;
    const app::DisplayEnvironment display{":0", "", "", ""};
    app::answerWithoutWindow(read(arguments), display, output, out, errors);
    *err = errors.str();
    return out.str();
}

TEST(AnswerWithoutWindow, SpeaksTheUsersLanguage)
{
    std::string err;
    EXPECT_TRUE(
        answered({"--help"}, {Language::Chinese, "UTF-8"}, &err).starts_with("用法：qinghe-taxcalc [选项]...\n"));
    EXPECT_TRUE(answered({"--help"}, {Language::Chinese, "GBK"}, &err).starts_with("\xD3\xC3\xB7\xA8"));
    // A terminal that cannot show Chinese gets English.
    EXPECT_TRUE(answered({"--help"}, {Language::Chinese, "ISO-8859-1"}, &err).starts_with("Usage: qinghe-taxcalc "));
    EXPECT_EQ(answered({"--frob"}, {Language::Chinese, "UTF-8"}, &err), "");
    EXPECT_EQ(err, "qinghe-taxcalc: 未知选项“--frob”；用法见 qinghe-taxcalc --help\n");
    answered({"--pick", "abc"}, {Language::English, "UTF-8"}, &err);
    EXPECT_EQ(err, "qinghe-taxcalc: 'abc' is not a number such as 12.5, -3 or 1.5E3; try 'qinghe-taxcalc --help'\n");
    answered({"--rate", "100"}, {Language::Chinese, "UTF-8"}, &err);
    EXPECT_EQ(err,
        "qinghe-taxcalc: “100”不能作 --rate 的税率：税率是 0 到 100 之间（不含 100）的数，例如 13、6.5 或 1E1；"
        "用法见 qinghe-taxcalc --help\n");
}

// Both helps name every option and every exit status.
TEST(UsageText, BothLanguagesTellTheSame)
{
    for (const auto language : {Language::English, Language::Chinese}) {
        const std::string usage = app::usageText(language);
        for (const char* word : {"--pick", "--attach", "--print-tape", "--rate", "--help", "--version", "\n      --  ",
                 "\n  0  ", "\n  1  ", "\n  2  ", "\n  3  ", "$(qinghe-taxcalc --pick 100)",
                 "$(qinghe-taxcalc --pick 1000 --rate 13)"}) {
            EXPECT_NE(usage.find(word), std::string::npos) << word;
        }
    }
}

TEST(TapeText, LinesAsTheWindowShowsThem)
{
    calc::Tape tape;
    tape.append("                       12");
    tape.append("\xA3\xAB                     30"); // ＋
    tape.append("");
    tape.append("\xBD\xE1\xB9\xFB     42   "); // 结果, blanks after
    EXPECT_EQ(app::tapeText(tape), "                       12\n＋                     30\n\n结果     42\n");
    EXPECT_EQ(app::tapeText(calc::Tape()), "");
}

} // namespace

namespace {

struct PlaceCase {
    const char* name;
    const char* geometry;
    std::optional<QPoint> place;
};

class RequestedPlace : public testing::TestWithParam<PlaceCase> {};

// The window is 574 x 250 on a 1024 x 768 area that starts below a 32-pixel
// panel.
TEST_P(RequestedPlace, ReadsTheOffsetsOfAnX11Geometry)
{
    const QRect available(0, 32, 1024, 736);
    EXPECT_EQ(app::requestedPlace(GetParam().geometry, QSize(574, 250), available), GetParam().place);
}

INSTANTIATE_TEST_SUITE_P(Rows, RequestedPlace,
    testing::Values(PlaceCase{"TopLeft", "+0+0", QPoint(0, 32)}, PlaceCase{"Offsets", "+10+20", QPoint(10, 52)},
        PlaceCase{"FromTheFarEdges", "-0-0", QPoint(450, 518)},
        PlaceCase{"SizeAndPlace", "=600x400-10+5", QPoint(440, 37)}, PlaceCase{"SizeAlone", "600x400", std::nullopt},
        PlaceCase{"OneOffset", "+10", std::nullopt}, PlaceCase{"Word", "left", std::nullopt},
        PlaceCase{"TrailingText", "+1+2px", std::nullopt}, PlaceCase{"Empty", "", std::nullopt}),
    RowName());

TEST(ReadCommandLine, KeepsTheWindowGeometryForTheDialog)
{
    EXPECT_EQ(read({"-qwindowgeometry", "+0+0"}).windowGeometry, std::optional<std::string>("+0+0"));
    EXPECT_FALSE(read({}).windowGeometry.has_value());
}

} // namespace
