#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace app {

enum class Language { English, Chinese };

// The environment variables that choose the language of messages and the
// codeset of the terminal, read once.
struct LocaleEnvironment {
    std::string language; // LANGUAGE
    std::string all; // LC_ALL
    std::string messages; // LC_MESSAGES
    std::string ctype; // LC_CTYPE
    std::string lang; // LANG
    static LocaleEnvironment current();
};

// The language of the command line's texts, chosen as gettext chooses a
// catalogue: the messages locale is LC_ALL, else LC_MESSAGES, else LANG; in
// the C locale nothing is translated; otherwise the first Chinese or English
// entry of the list in LANGUAGE wins, and the messages locale decides only
// when LANGUAGE is empty. {lang "zh_CN.UTF-8"} -> Chinese;
// {language "en", lang "zh_CN.UTF-8"} -> English; {all "C", lang "zh_CN.UTF-8"} -> English.
Language messageLanguage(const LocaleEnvironment& environment);

// The codeset the terminal expects: that of the locale LC_ALL names, else
// LC_CTYPE, else LANG, as the C library gives it (nl_langinfo): "zh_CN" ->
// "GB2312", "C" -> "ANSI_X3.4-1968". For a locale that is not installed, what
// its name says: "zh_CN.GBK" -> "GBK"; a name without one is taken as UTF-8,
// as every locale Debian sets up today is.
std::string terminalCodeset(const LocaleEnvironment& environment);

// `utf8` in `codeset`, or nothing where the codeset is unknown or cannot
// write every character.
std::optional<std::string> inCodeset(std::string_view utf8, const std::string& codeset);

// How the command line's texts reach the user: in which language, and in
// which codeset the terminal reads them.
struct TextOutput {
    Language language = Language::English;
    std::string codeset = "UTF-8";
    static TextOutput current();

    // textIn(language) in the terminal's codeset; textIn(English) as it is
    // where the codeset cannot write the text.
    template <class TextIn>
    std::string render(TextIn textIn) const
    {
        if (auto converted = inCodeset(textIn(language), codeset)) {
            return *std::move(converted);
        }
        return textIn(Language::English);
    }
};

} // namespace app
