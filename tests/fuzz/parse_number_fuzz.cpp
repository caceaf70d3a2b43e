// ParseNumber on arbitrary bytes: it never crashes, and every accepted text's
// value is written by GeneralText as a text that reads back to the same text.
#include "calc/Exception.h"
#include "calc/NumberText.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    long double value = 0;
    try {
        value = calc::ParseNumber(text);
    } catch (const calc::EConvertError&) {
        return 0;
    }
    if (!std::isfinite(value)) {
        std::abort();
    }
    // At the two ends of the range fifteen digits can round past the edge:
    // below the smallest normal (reading back as a subnormal, written "0")
    // or above the largest value (not reading back at all).
    const long double magnitude = std::fabs(value);
    const bool nearAnEdge =
        magnitude < std::numeric_limits<long double>::min() * (1 + 1e-14L) || magnitude > 1.1897314953572e4932L;
    const std::string general = calc::GeneralText(value);
    bool same = false;
    try {
        same = calc::GeneralText(calc::ParseNumber(general)) == general;
    } catch (const calc::EConvertError&) {
    }
    if (!same && !nearAnEdge) {
        std::abort();
    }
    (void)calc::FixedText(value, 12);
    return 0;
}
