#include "app/Language.h"

#include <iconv.h>

#include <cctype>
#include <cstdlib>
#include <memory>
#include <ranges>

namespace app {

namespace {

std::string environmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

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
            folded += char(std::tolower(static_cast<unsigned char>(c)));
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
    const std::string_view codeset = codesetOf(firstSet(environment.all, environment.ctype, environment.lang));
    return codeset.empty() || isUtf8(codeset) ? std::string("UTF-8") : std::string(codeset);
}

std::optional<std::string> inCodeset(std::string_view utf8, const std::string& codeset)
{
    if (isUtf8(codeset)) {
        return std::string(utf8);
    }
    const iconv_t converter = iconv_open(codeset.c_str(), "UTF-8");
    if (converter == iconv_t(-1)) {
        return std::nullopt;
    }
    const std::unique_ptr<void, decltype(&iconv_close)> closer(converter, &iconv_close);
    // No legacy codeset takes more than four bytes for a character.
    std::string converted(utf8.size() * 4, '\0');
    std::string input(utf8);
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* out = converted.data();
    std::size_t outLeft = converted.size();
    if (iconv(converter, &in, &inLeft, &out, &outLeft) == std::size_t(-1) ||
        iconv(converter, nullptr, nullptr, &out, &outLeft) == std::size_t(-1)) {
        return std::nullopt;
    }
    converted.resize(converted.size() - outLeft);
    return converted;
}

TextOutput TextOutput::current()
{
    const auto environment = LocaleEnvironment::current();
    return {messageLanguage(environment), terminalCodeset(environment)};
}

} // namespace app
