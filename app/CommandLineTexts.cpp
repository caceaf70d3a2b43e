// The command line's texts, in English and in Chinese, both UTF-8.
#include "app/CommandLine.h"

#include "app/Version.h"

namespace app {

namespace {

// Every "{program}" of `text` becomes the program's name, every "{}" `subject`.
std::string filledIn(std::string_view text, std::string_view subject = {})
{
    std::string filled;
    for (std::size_t at = 0; at < text.size();) {
        if (text.substr(at).starts_with("{program}")) {
            filled += kProgramName;
            at += std::string_view("{program}").size();
        } else if (text.substr(at).starts_with("{}")) {
            filled += subject;
            at += 2;
        } else {
            filled += text[at++];
        }
    }
    return filled;
}

constexpr std::string_view kUsageEnglish = R"(Usage: {program} [OPTION]...
  or:  {program} --pick [NUMBER] [--attach WINDOWID] [--rate PERCENT]
Opens the tax-rate calculator: a pocket calculator with a memory, a running
tape and four tax keys.

      --pick [NUMBER]    run as a value picker for another program: the entry
                         line starts with NUMBER (0 when none); a double click
                         on a tape line that holds a number prints the number
                         and ends with 0, closing the window ends with 1
      --attach WINDOWID  keep the window above the X11 window WINDOWID (as
                         xdotool or xwininfo give it) and open it centred on it
      --print-tape       when the window closes, print the tape's lines
      --rate PERCENT     start at the tax rate PERCENT instead of 17 %, as the
                         rate key sets it: a number from 0 to under 100, such
                         as 13, 6.5 or 1E1
  -h, --help             print this help and exit
  -v, --version          print the version and exit
      --                 end the options: a NUMBER such as -5 may follow

Qt's own options work as in every Qt program, among them -platform NAME,
-display DISPLAY, -style STYLE, -qwindowgeometry GEOMETRY and -reverse.

Exit status:
  0  a number was picked; without --pick, the window was closed
  1  the picker was closed without a number
  2  the command line was wrong
  3  no display could be opened

Examples:
  if amount=$({program} --pick 100); then echo "picked $amount"; fi
  tax=$({program} --pick 1000 --rate 13)    # a picker at 13 %

The keys are in the manual page {program}(1).
)";

constexpr std::string_view kUsageChinese = R"(用法：{program} [选项]...
　或：{program} --pick [数值] [--attach 窗口号] [--rate 税率]
打开税率计算器：带存储器、计算记录和四个税务键的袖珍计算器。

      --pick [数值]      作为其他程序的取值器运行：结果编辑区从“数值”开始
                         （缺省为 0）；双击计算记录中带数的一行，输出这个数
                         并以 0 结束，关闭窗口则以 1 结束
      --attach 窗口号    让窗口停在 X11 窗口“窗口号”（即 xdotool 或 xwininfo
                         给出的号）之上，并在它的正中打开
      --print-tape       窗口关闭时，输出计算记录的各行
      --rate 税率        开始时的税率（百分数，缺省为 17），如同按设定税率键
                         设定：不小于 0、小于 100 的数，例如 13、6.5 或 1E1
  -h, --help             显示本帮助并退出
  -v, --version          显示版本并退出
      --                 选项到此为止：其后可以写 -5 这样的数值

Qt 程序通用的选项照常可用，例如 -platform 名称、-display 显示器、
-style 风格、-qwindowgeometry 几何尺寸和 -reverse。

退出状态：
  0  取到了数；不带 --pick 时，窗口已关闭
  1  取值器关闭，没有取数
  2  命令行有误
  3  无法打开显示器

示例：
  if amount=$({program} --pick 100); then echo "取到 $amount"; fi
  tax=$({program} --pick 1000 --rate 13)    # 税率 13% 的取值器

按键见手册页 {program}(1)。
)";

struct RefusalTexts {
    std::string_view english;
    std::string_view chinese;
};

RefusalTexts refusalTexts(Refusal refusal)
{
    switch (refusal) {
    case Refusal::None: return {};
    case Refusal::UnknownOption: return {"unknown option '{}'", "未知选项“{}”"};
    case Refusal::UnexpectedArgument: return {"unexpected argument '{}'", "多余的参数“{}”"};
    case Refusal::MissingValue: return {"option '{}' needs a value", "选项“{}”需要一个值"};
    case Refusal::NotANumber:
        return {"'{}' is not a number such as 12.5, -3 or 1.5E3", "“{}”不是数值，数值应写成 12.5、-3 或 1.5E3 这样"};
    case Refusal::NotAWindow:
        return {"'{}' is not a window id such as 0x2200007 or 35651591",
            "“{}”不是窗口号，窗口号应写成 0x2200007 或 35651591 这样"};
    case Refusal::NotARate:
        return {"'{}' is no rate for --rate: a number from 0 to under 100 such as 13, 6.5 or 1E1",
            "“{}”不能作 --rate 的税率：税率是 0 到 100 之间（不含 100）的数，例如 13、6.5 或 1E1"};
    case Refusal::TapeWithPick:
        return {"--print-tape cannot go with --pick: the picker prints the number alone",
            "--print-tape 不能与 --pick 同用：取值器只输出取到的数"};
    }
    return {};
}

} // namespace

std::string usageText(Language language)
{
    return filledIn(language == Language::Chinese ? kUsageChinese : kUsageEnglish);
}

std::string versionText()
{
    return filledIn("{program} ") + std::string(kProgramVersion) +
        "\n"
        "Copyright (c) 2026 Qinghe TaxCalc developers\n"
        "This is free software under the MIT License; there is NO WARRANTY.\n";
}

std::string tryHelpText(Language language)
{
    return filledIn(language == Language::Chinese ? "；用法见 {program} --help" : "; try '{program} --help'");
}

std::string refusalText(const CommandLine& commandLine, Language language)
{
    const RefusalTexts texts = refusalTexts(commandLine.refusal);
    return filledIn(language == Language::Chinese ? texts.chinese : texts.english, commandLine.subject);
}

} // namespace app
