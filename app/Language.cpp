#include "app/Language.h"

#include "app/Environment.h"
#include "calc/CFree.h"
#include "calc/Codeset.h"

#include <langinfo.h>
#include <locale.h>

#include <cctype>
#include <ranges>
#include <type_traits>

namespace app {

namespace {

const std::string& firstSet(const std::string& first, const std::string& second, const std::string& third)
{
    return !first.empty() ? first : !second.empty() ? second : third;
}

bool isCLocale(std::string_view name)
{
    return name.empty() || name == "C" || name == "POSIX" || name.starts_with("C.");
}

// "zh_CN.UTF-8@latin" -> "zh".
std::string_view languageOf(std::string_view name) { return name.substr(0, name.find_first_of("_.@")); }

// "zh_CN.UTF-8@latin" -> "UTF-8"; "zh_CN" -> "".
std::string_view codesetOf(std::string_view name)
{
    const auto dot = name.find('.');
    if (dot == std::string_view::npos) {
        return {};
    }
    name.remove_prefix(dot + 1);
    return name.substr(0, name.find('@'));
}

bool isUtf8(std::string_view codeset)
{
    std::string folded;
    for (const char c : codeset) {
        if (c != '-' && c != '_') {
            folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return folded == "utf8";
}

} // namespace

LocaleEnvironment LocaleEnvironment::current()
{
    return {environmentValue("LANGUAGE"), environmentValue("LC_ALL"), environmentValue("LC_MESSAGES"),
        environmentValue("LC_CTYPE"), environmentValue("LANG")};
}

Language messageLanguage(const LocaleEnvironment& environment)
{
    const std::string& locale = firstSet(environment.all, environment.messages, environment.lang);
    if (isCLocale(locale)) {
        return Language::English;
    }
    if (environment.language.empty()) {
        return languageOf(locale) == "zh" ? Language::Chinese : Language::English;
    }
    // Entries without a catalogue of ours (fr, de_DE, ...) are passed over;
    // where none is left, the texts stay untranslated.
    for (const auto entry : environment.language | std::views::split(':')) {
        const std::string_view language = languageOf(std::string_view(entry.begin(), entry.end()));
        if (language == "zh") {
            return Language::Chinese;
        }
        if (language == "en" || language == "C") {
            return Language::English;
        }
    }
    return Language::English;
}

std::string terminalCodeset(const LocaleEnvironment& environment)
{
    const std::string& name = firstSet(environment.all, environment.ctype, environment.lang);
    // The locale's own codeset, as gettext asks the C library for it: the
    // name need not say it ("zh_CN" is GB2312), nor say it as the C library
    // spells it. A locale object of its own leaves the process's as it is.
    const calc::CHandle<std::remove_pointer_t<locale_t>, &freelocale> locale(
        newlocale(LC_CTYPE_MASK, name.empty() ? "C" : name.c_str(), nullptr));
    if (locale) {
        return nl_langinfo_l(CODESET, locale.get());
    }
    // A locale that is not installed: what its name says.
    const std::string_view codeset = codesetOf(name);
    return codeset.empty() || isUtf8(codeset) ? std::string("UTF-8") : std::string(codeset);
}

std::optional<std::string> inCodeset(std::string_view utf8, const std::string& codeset)
{
    if (isUtf8(codeset)) {
        return std::string(utf8);
    }
    return calc::Conversion(codeset.c_str(), "UTF-8")(utf8);
}

TextOutput TextOutput::current()
{
    const auto environment = LocaleEnvironment::current();
    return {messageLanguage(environment), terminalCodeset(environment)};
}

} // namespace app
