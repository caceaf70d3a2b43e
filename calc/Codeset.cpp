#include "calc/Codeset.h"

#include <array>
#include <cerrno>

namespace calc {

namespace {

// iconv_open's and iconv's own failure values.
const iconv_t kNoConversion = reinterpret_cast<iconv_t>(-1);
constexpr std::size_t kFailed = static_cast<std::size_t>(-1);

} // namespace

Conversion::Conversion(const char* to, const char* from)
{
    if (const iconv_t opened = iconv_open(to, from); opened != kNoConversion) {
        handle_.reset(opened);
    }
}

std::optional<std::string> Conversion::operator()(std::string_view text)
{
    if (!handle_) {
        return std::nullopt;
    }
    // From the initial shift state, whatever a failed conversion left behind.
    iconv(handle_.get(), nullptr, nullptr, nullptr, nullptr);
    std::string converted;
    std::string input(text); // iconv's input is not const
    char* in = input.data();
    std::size_t inLeft = input.size();
    std::array<char, 256> buffer{};
    // A full buffer (E2BIG) is emptied and the conversion goes on; the last
    // round (no input) writes the shift back to the initial state.
    for (bool flushing = false;;) {
        char* out = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t result = flushing ? iconv(handle_.get(), nullptr, nullptr, &out, &outLeft)
                                            : iconv(handle_.get(), &in, &inLeft, &out, &outLeft);
        converted.append(buffer.data(), buffer.size() - outLeft);
        if (result == kFailed) {
            if (errno != E2BIG) {
                return std::nullopt;
            }
            continue;
        }
        if (flushing) {
            return converted;
        }
        flushing = true;
    }
}

} // namespace calc
