// The calculator on arbitrary key sequences: no key ever crashes, only the
// calculator's own errors are thrown, and the invariants hold after every key.
#include "CalcInvariants.h"

#include "tools/KeyScript.h"

#include "calc/Calculator.h"
#include "calc/Exception.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Byte b plays the key of row b % 32 of the key-script table for its 28
// keys; the rest are the window's own actions: show, select a line, pick up,
// or set the caller's value.
std::size_t playOne(calc::Calculator& c, const std::uint8_t* data, std::size_t size)
{
    const auto keys = keyscript::keyNames();
    const int keyCount = static_cast<int>(keys.size());
    const int action = data[0] % 32;
    if (action < keyCount) {
        c.press(keys[static_cast<std::size_t>(action)].key);
        return 1;
    }
    switch (action - keyCount) {
    case 0: c.FormShow(); return 1;
    case 1: c.selectLine(size > 1 ? static_cast<std::ptrdiff_t>(data[1]) - 2 : -1); return 2;
    case 2: c.ListBoxShowDblClick(); return 1;
    default: {
        // Up to 10 bytes as the x87 lays the value in memory: the
        // significand, then the sign and exponent, least significant first.
        const std::size_t n = size - 1 < 10 ? size - 1 : 10;
        std::array<std::uint8_t, 10> bytes{};
        std::copy_n(data + 1, n, bytes.begin());
        std::uint64_t significand = 0;
        for (std::size_t i = 8; i-- > 0;) {
            significand = significand << 8 | bytes[i];
        }
        c.setValue(calc::Extended(static_cast<std::uint16_t>(bytes[9] << 8 | bytes[8]), significand));
        c.FormShow();
        return 1 + n;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    calc::Calculator c;
    c.FormShow();
    std::size_t i = 0;
    while (i < size) {
        try {
            i += playOne(c, data + i, size - i);
        } catch (const calc::Exception&) {
            ++i;
        }
        if (const auto broken = invariants::brokenInvariant(c, false)) {
            std::fprintf(stderr, "broken after byte %zu: %s\n", i, broken->c_str());
            std::abort();
        }
    }
    if (const auto broken = invariants::brokenInvariant(c, true)) {
        std::fprintf(stderr, "broken at the end: %s\n", broken->c_str());
        std::abort();
    }
    return 0;
}
