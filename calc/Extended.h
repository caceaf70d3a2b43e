#pragma once

#include <array>
#include <bit>
#include <compare>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace calc {

// The calculator's number: the x87 80-bit extended real, the same bits on
// every CPU and byte order. A 15-bit biased exponent with the sign above it,
// and a 64-bit significand whose top bit is the explicit integer bit:
//   normal     0 < exponent < 0x7FFF, integer bit set: 1.f x 2^(exponent - 16383)
//   denormal   exponent 0: 0.f x 2^-16382 (with the integer bit set the x87
//              reads it the same way, as a pseudo-denormal)
//   infinity   exponent 0x7FFF, significand 0x8000000000000000
//   NaN        exponent 0x7FFF, integer bit set, fraction not zero; quiet
//              when the top fraction bit is set
// Any other pattern (an unnormal, a pseudo-infinity or pseudo-NaN) is an
// operand the x87 refuses: arithmetic on it gives the default NaN and it
// compares unordered.
//
// + - * / round to nearest, ties to even, at 64 bits over the full exponent
// range with denormals, as the x87 does with its precision set to extended.
// They are worked out by one of two backends with the same results, bit for
// bit (tests/extended_differential_test.cpp proves it over a million cases):
//   - the x87 itself, where the compiler's long double is its format (x86);
//   - GNU MPFR at 64-bit precision with the extended exponent range and its
//     denormal emulation, everywhere else; the x87's rules for NaNs are
//     applied before MPFR sees the operands.
// Where both exist the x87 serves: bench-conversions times an operation at
// 20 ns on the x87 against 170 ns with MPFR, a text read at 100 against
// 370 ns, 18 digits written at 430 ns either way (x86-64, Debian 12); and
// the program then loads no MPFR or GMP when it starts.
class Extended {
public:
    static constexpr std::size_t kBytes = 10;
    static constexpr std::uint16_t kSignBit = 0x8000;
    static constexpr std::uint16_t kExponentMask = 0x7FFF;
    static constexpr int kExponentBias = 16383;
    static constexpr int kSignificandBits = 64;
    static constexpr std::uint64_t kIntegerBit = std::uint64_t{1} << 63;
    static constexpr std::uint64_t kQuietBit = std::uint64_t{1} << 62;
    static constexpr std::uint64_t kFractionMask = kIntegerBit - 1;

    // Sign and exponent first, then the significand, most significant byte
    // first: 1.0 is 3f ff 80 00 00 00 00 00 00 00.
    using Bytes = std::array<std::uint8_t, kBytes>;

    constexpr Extended() = default; // +0
    constexpr Extended(std::uint16_t signExponent, std::uint64_t significand)
        : signExponent_(signExponent)
        , significand_(significand)
    {
    }

    // Exact: every 64-bit integer has an extended value, so an integer
    // converts on its own (x == 0, rate / 100); a double does not.
    template <std::signed_integral Integer>
    constexpr Extended(Integer n) : Extended(fromInteger(n))
    {
    }
    static constexpr Extended fromInteger(std::int64_t n)
    {
        if (n == 0) {
            return {};
        }
        const std::uint16_t sign = n < 0 ? kSignBit : 0;
        const std::uint64_t magnitude =
            n < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
        const int shift = std::countl_zero(magnitude);
        const int exponent = kExponentBias + kSignificandBits - 1 - shift;
        return {static_cast<std::uint16_t>(sign | exponent), magnitude << shift};
    }
    static constexpr Extended infinity(bool negative = false)
    {
        return {static_cast<std::uint16_t>((negative ? kSignBit : 0) | kExponentMask), kIntegerBit};
    }
    // The x87's answer to an invalid operation (its "real indefinite").
    static constexpr Extended defaultNaN() { return {kSignBit | kExponentMask, kIntegerBit | kQuietBit}; }
    static constexpr Extended largest() { return {kExponentMask - 1, ~std::uint64_t{0}}; }
    static constexpr Extended smallestNormal() { return {1, kIntegerBit}; }
    static constexpr Extended smallestDenormal() { return {0, 1}; }

    static constexpr Extended fromBytes(const Bytes& b)
    {
        std::uint64_t significand = 0;
        for (std::size_t i = 2; i < kBytes; ++i) {
            significand = significand << 8 | b[i];
        }
        return {static_cast<std::uint16_t>(b[0] << 8 | b[1]), significand};
    }
    constexpr Bytes bytes() const
    {
        Bytes b{};
        b[0] = static_cast<std::uint8_t>(signExponent_ >> 8);
        b[1] = static_cast<std::uint8_t>(signExponent_);
        for (std::size_t i = 0; i < 8; ++i) {
            b[kBytes - 1 - i] = static_cast<std::uint8_t>(significand_ >> (8 * i));
        }
        return b;
    }

    constexpr std::uint16_t signExponent() const { return signExponent_; }
    constexpr std::uint64_t significand() const { return significand_; }
    constexpr unsigned exponentField() const { return signExponent_ & kExponentMask; }
    constexpr bool negative() const { return (signExponent_ & kSignBit) != 0; }

    constexpr bool isZero() const { return exponentField() == 0 && significand_ == 0; }
    constexpr bool isDenormal() const { return exponentField() == 0 && significand_ != 0; }
    constexpr bool isInfinity() const { return exponentField() == kExponentMask && significand_ == kIntegerBit; }
    constexpr bool isNaN() const
    {
        return exponentField() == kExponentMask && (significand_ & kIntegerBit) != 0 &&
            (significand_ & kFractionMask) != 0;
    }
    constexpr bool isQuietNaN() const { return isNaN() && (significand_ & kQuietBit) != 0; }
    // An unnormal, pseudo-infinity or pseudo-NaN: no operation makes one.
    constexpr bool isUnsupported() const { return exponentField() != 0 && (significand_ & kIntegerBit) == 0; }
    // Zero, denormal or normal.
    constexpr bool isFinite() const { return exponentField() != kExponentMask && !isUnsupported(); }

    constexpr Extended operator-() const
    {
        return {static_cast<std::uint16_t>(signExponent_ ^ kSignBit), significand_};
    }
    constexpr Extended abs() const { return {static_cast<std::uint16_t>(signExponent_ & ~kSignBit), significand_}; }

    // The same 80 bits; unlike ==, tells -0 from 0 and a NaN from itself.
    constexpr bool identical(Extended other) const
    {
        return signExponent_ == other.signExponent_ && significand_ == other.significand_;
    }

    // As the x87 compares: -0 == 0, a NaN or a refused pattern unordered.
    friend constexpr std::partial_ordering operator<=>(Extended a, Extended b)
    {
        if (a.isNaN() || b.isNaN() || a.isUnsupported() || b.isUnsupported()) {
            return std::partial_ordering::unordered;
        }
        if (a.isZero() && b.isZero()) {
            return std::partial_ordering::equivalent;
        }
        if (a.negative() != b.negative()) {
            return a.negative() ? std::partial_ordering::less : std::partial_ordering::greater;
        }
        const auto magnitude = a.magnitudeOrder(b);
        return a.negative() ? 0 <=> magnitude : magnitude <=> 0;
    }
    friend constexpr bool operator==(Extended a, Extended b) { return (a <=> b) == 0; }

    friend Extended operator+(Extended a, Extended b);
    friend Extended operator-(Extended a, Extended b);
    friend Extended operator*(Extended a, Extended b);
    friend Extended operator/(Extended a, Extended b);
    Extended& operator+=(Extended b) { return *this = *this + b; }
    Extended& operator-=(Extended b) { return *this = *this - b; }
    Extended& operator*=(Extended b) { return *this = *this * b; }
    Extended& operator/=(Extended b) { return *this = *this / b; }

private:
    // Of two finite values or infinities: a denormal's exponent reads as 1,
    // so the pair (exponent, significand) orders the magnitudes.
    constexpr std::strong_ordering magnitudeOrder(Extended b) const
    {
        const auto key = [](Extended x) { return x.exponentField() == 0 ? 1u : x.exponentField(); };
        if (const auto order = key(*this) <=> key(b); order != 0) {
            return order;
        }
        return significand_ <=> b.significand_;
    }

    std::uint16_t signExponent_ = 0;
    std::uint64_t significand_ = 0;
};

inline constexpr int kSignificantDigits = 18;

// |x| = 0.d1d2...d18 x 10^exponent, the digits '0' to '9', d1 not '0'.
struct SignificantDigits {
    std::array<char, kSignificantDigits> digits{};
    int exponent = 0;
};

// The 18 significant digits of a finite, non-zero x, correctly rounded, ties
// to even: 0.1 (3ffb cccccccccccccccd) -> 100000000000000000, exponent 0.
SignificantDigits significantDigits(Extended x);

// The number of a text in the C library's syntax ("-12.5e-3", digits, at most
// one point, an optional e exponent), correctly rounded; +-infinity past the
// range. The caller has checked the syntax.
Extended decimalValue(std::string_view text);

// The caller's long double: exact where it is this format (x86) or wider
// (binary128), rounded to nearest where it is narrower (a 64-bit double).
long double toLongDouble(Extended x);
Extended fromLongDouble(long double x);

} // namespace calc
