// The extended value's operations on the x87 itself: built only where the
// compiler's long double is the x87's 80-bit format on x86, as
// calc/CMakeLists.txt checks.
#include "calc/ExtendedBackends.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>

namespace calc {
namespace {

// On x86 a long double lies in memory as the significand's 8 bytes, then
// the sign and exponent's 2, least significant first; the rest is padding.
constexpr std::size_t kSignExponentOffset = sizeof(std::uint64_t);

long double hardware(Extended x)
{
    std::array<unsigned char, sizeof(long double)> raw{};
    const std::uint64_t significand = x.significand();
    const std::uint16_t signExponent = x.signExponent();
    std::memcpy(raw.data(), &significand, sizeof significand);
    std::memcpy(raw.data() + kSignExponentOffset, &signExponent, sizeof signExponent);
    long double value;
    std::memcpy(&value, raw.data(), sizeof value);
    return value;
}

Extended extended(long double value)
{
    std::array<unsigned char, sizeof(long double)> raw{};
    std::memcpy(raw.data(), &value, sizeof value);
    std::uint64_t significand = 0;
    std::uint16_t signExponent = 0;
    std::memcpy(&significand, raw.data(), sizeof significand);
    std::memcpy(&signExponent, raw.data() + kSignExponentOffset, sizeof signExponent);
    return {signExponent, significand};
}

locale_t classicLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

} // namespace

Extended X87Numbers::add(Extended a, Extended b) { return extended(hardware(a) + hardware(b)); }
Extended X87Numbers::subtract(Extended a, Extended b) { return extended(hardware(a) - hardware(b)); }
Extended X87Numbers::multiply(Extended a, Extended b) { return extended(hardware(a) * hardware(b)); }
Extended X87Numbers::divide(Extended a, Extended b) { return extended(hardware(a) / hardware(b)); }

// glibc's %Le conversion rounds correctly, ties to even:
// "d.ddddddddddddddddde+X" -> digits d..d, exponent X + 1.
SignificantDigits X87Numbers::significantDigits(Extended x)
{
    std::array<char, 48> buffer;
    // glibc reads a pseudo-denormal's exponent as 0, the x87 as 1.
    if (x.exponentField() == 0 && x.significand() >= Extended::kIntegerBit) {
        x = Extended{1, x.significand()};
    }
    const int length = std::snprintf(buffer.data(), buffer.size(), "%.*Le", kSignificantDigits - 1, hardware(x.abs()));
    const std::string_view text(buffer.data(), static_cast<std::size_t>(length));
    SignificantDigits result;
    std::size_t count = 0;
    const std::size_t exponentMark = text.find('e');
    for (const char c : text.substr(0, exponentMark)) {
        if (c != '.' && count < result.digits.size()) {
            result.digits[count++] = c;
        }
    }
    std::string_view exponentText = text.substr(exponentMark + 1);
    if (exponentText.starts_with('+')) {
        exponentText.remove_prefix(1); // from_chars reads a '-' but no '+'
    }
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), result.exponent);
    ++result.exponent;
    return result;
}

Extended X87Numbers::decimalValue(std::string_view text)
{
    // strtold wants a terminated text; short ones stay on the stack.
    std::array<char, 64> shortText;
    std::string longText;
    char* terminated = shortText.data();
    if (text.size() >= shortText.size()) {
        longText.assign(text);
        terminated = longText.data();
    } else {
        *std::copy(text.begin(), text.end(), shortText.data()) = '\0';
    }
    return extended(strtold_l(terminated, nullptr, classicLocale()));
}

long double X87Numbers::toLongDouble(Extended x) { return hardware(x); }
Extended X87Numbers::fromLongDouble(long double x) { return extended(x); }

} // namespace calc
