#include "GbkUtf8.h"

#include <iconv.h>

#include <array>
#include <cerrno>

namespace probe {
namespace {

// One iconv conversion, opened once per direction.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (cd_ != invalid()) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts one whole character; false when the target lacks it.
    bool convert(std::string_view in, std::string& out)
    {
        if (cd_ == invalid()) {
            return false;
        }
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::array<char, 16> buffer{};
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) {
            return false;
        }
        out.append(buffer.data(), buffer.size() - outLeft);
        return true;
    }

private:
    static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }
    iconv_t cd_;
};

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
    static Converter cp936("UTF-8", "CP936");
    // The user-defined areas of the code page map to the private use area.
    static Converter userDefined("UTF-8", "GB18030");
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
            if (!cp936.convert(pair, out) && !userDefined.convert(pair, out)) {
                out += kReplacement;
            }
            i += 2;
        } else {
            // A single byte above ASCII (0x80 is the euro sign), or a lead
            // byte without its trail byte; that next byte is read again.
            if (!cp936.convert(gbk.substr(i, 1), out)) {
                out += kReplacement;
            }
            ++i;
        }
    }
    return out;
}

std::string utf8ToGbk(std::string_view utf8)
{
    static Converter cp936("CP936", "UTF-8");
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::size_t length = utf8Length(utf8, i);
        if (length == 1) {
            out += utf8[i];
        } else if (length == 0 || !cp936.convert(utf8.substr(i, length), out)) {
            out += '?';
        }
        i += length == 0 ? 1 : length;
    }
    return out;
}

} // namespace probe
