#include "tools/GbkUtf8.h"

#include "calc/Codeset.h"

namespace probe {
namespace {

// `character` (one whole character) appended to `out` in the target codeset;
// false when the target lacks it.
bool convert(calc::Conversion& conversion, std::string_view character, std::string& out)
{
    const auto converted = conversion(character);
    if (!converted) {
        return false;
    }
    out += *converted;
    return true;
}

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

bool isLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool isTrail(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

// Length of the UTF-8 sequence starting at s[i], 0 when it is malformed.
std::size_t utf8Length(std::string_view s, std::size_t i)
{
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t length = 0;
    if (b < 0x80) {
        return 1;
    } else if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
    } else {
        return 0;
    }
    if (i + length > s.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

} // namespace

std::string gbkToUtf8(std::string_view gbk)
{
    static calc::Conversion cp936("UTF-8", "CP936");
    // The user-defined areas of the code page map to the private use area.
    static calc::Conversion userDefined("UTF-8", "GB18030");
    std::string out;
    out.reserve(gbk.size() + gbk.size() / 2);
    std::size_t i = 0;
    while (i < gbk.size()) {
        const auto b = static_cast<unsigned char>(gbk[i]);
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
        } else if (isLead(b) && i + 1 < gbk.size() && isTrail(static_cast<unsigned char>(gbk[i + 1]))) {
            const std::string_view pair = gbk.substr(i, 2);
            if (!convert(cp936, pair, out) && !convert(userDefined, pair, out)) {
                out += kReplacement;
            }
            i += 2;
        } else {
            // A single byte above ASCII (0x80 is the euro sign), or a lead
            // byte without its trail byte; that next byte is read again.
            if (!convert(cp936, gbk.substr(i, 1), out)) {
                out += kReplacement;
            }
            ++i;
        }
    }
    return out;
}

std::string utf8ToGbk(std::string_view utf8)
{
    static calc::Conversion cp936("CP936", "UTF-8");
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::size_t length = utf8Length(utf8, i);
        if (length == 1) {
            out += utf8[i];
        } else if (length == 0 || !convert(cp936, utf8.substr(i, length), out)) {
            out += '?';
        }
        i += length == 0 ? 1 : length;
    }
    return out;
}

} // namespace probe
