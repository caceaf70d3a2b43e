// ParseNumber on arbitrary bytes: it never crashes, and every accepted text's
// value is written by GeneralText as a text that reads back to the same text.
#include "calc/Exception.h"
#include "calc/NumberText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    calc::Extended value;
    try {
        value = calc::ParseNumber(text);
    } catch (const calc::EConvertError&) {
        return 0;
    }
    if (!value.isFinite()) {
        std::abort();
    }
    // At the two ends of the range fifteen digits can round past the edge:
    // below the smallest normal (reading back as a subnormal, written "0")
    // or above the largest value (not reading back at all).
    const calc::Extended magnitude = value.abs();
    const bool nearAnEdge = magnitude < calc::Extended::smallestNormal() * calc::decimalValue("1.00000000000001") ||
        magnitude > calc::decimalValue("1.1897314953572e4932");
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
