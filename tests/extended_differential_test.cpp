// The portable backend (GNU MPFR) against the x87 itself, over random
// operations and conversions weighted towards the edges of the format: they
// must agree bit for bit, or text for text, in every case.
#include "calc/ExtendedBackends.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <mpfr.h>

namespace {

using calc::Extended;
using calc::MpfrNumbers;
using calc::X87Numbers;

constexpr std::uint64_t kAllOnes = ~std::uint64_t{0};
constexpr unsigned kMaxFiniteExponent = Extended::kExponentMask - 1;

std::string hex(Extended x)
{
    std::ostringstream out;
    out << std::hex;
    out.width(4);
    out.fill('0');
    out << x.signExponent() << ' ';
    out.width(16);
    out << x.significand();
    return out.str();
}

// Runs `count` cases; a case returns "" when the backends agree, else what
// each gave. The first few differences are printed.
void expectAgreement(const char* what, int count, const std::function<std::string()>& runCase)
{
    int differences = 0;
    for (int i = 0; i < count; ++i) {
        const std::string difference = runCase();
        if (!difference.empty() && ++differences <= 10) {
            ADD_FAILURE() << what << ": " << difference;
        }
    }
    EXPECT_EQ(differences, 0) << what << ": " << differences << " of " << count << " cases differ";
}

// A seed of the run's own, so a longer hunt can be started by hand:
// QINGHE_DIFFERENTIAL_SEED=7 build/tests/extended_differential_test
std::uint64_t seed()
{
    const char* text = std::getenv("QINGHE_DIFFERENTIAL_SEED");
    return text != nullptr ? std::strtoull(text, nullptr, 10) : 20261210;
}

class Values {
public:
    explicit Values(std::uint64_t seed) : random_(seed) {}

    std::uint64_t bits() { return random_(); }
    int below(int n) { return static_cast<int>(random_() % static_cast<std::uint64_t>(n)); }
    bool chance(int percent) { return below(100) < percent; }

    // A value of any class, the edges of the format far more often than
    // uniform bits would give them.
    Extended any()
    {
        const std::uint16_t sign = chance(50) ? Extended::kSignBit : 0;
        switch (below(14)) {
        case 0: // everyday magnitudes
        case 1: return normal(sign, Extended::kExponentBias - 70 + below(140));
        case 2: return normal(sign, 1 + below(static_cast<int>(kMaxFiniteExponent)));
        case 3: // denormals, and the x87's pseudo-denormals now and then
            return {sign, (bits() >> below(64)) | (chance(10) ? Extended::kIntegerBit : 0)};
        case 4: // the smallest normals
            return normal(sign, 1 + below(3));
        case 5: // the largest finite values
            return {
                static_cast<std::uint16_t>(sign | (kMaxFiniteExponent - below(3))), kAllOnes - (bits() >> below(64))};
        case 6: return {sign, 0};
        case 7: return Extended::infinity(sign != 0);
        case 8: // quiet and signalling NaNs with any payload
            return {static_cast<std::uint16_t>(sign | Extended::kExponentMask),
                Extended::kIntegerBit | std::max<std::uint64_t>(bits() >> (1 + below(63)), 1)};
        case 9: // the patterns the x87 refuses
            return {static_cast<std::uint16_t>(sign | (1 + below(Extended::kExponentMask))), bits() >> 1};
        case 10: // short significands: exact results, and ties once shifted
        case 11:
            return {static_cast<std::uint16_t>(sign | (Extended::kExponentBias - 80 + below(160))),
                Extended::kIntegerBit | ((bits() >> 60) << 59)};
        default: // integers
            return Extended::fromInteger(static_cast<std::int64_t>(bits() >> below(64)) * (sign != 0 ? -1 : 1));
        }
    }

    // A second operand, often tied to the first: next to it (cancellation),
    // or half an ulp of it and about (ties at the 64th bit).
    Extended partner(Extended a)
    {
        if (!a.isFinite() || a.exponentField() < 2 || chance(50)) {
            return any();
        }
        const int exponent = static_cast<int>(a.exponentField());
        const std::uint16_t sign = chance(50) ? Extended::kSignBit : 0;
        switch (below(4)) {
        case 0: // near a: x - y cancels
            return {static_cast<std::uint16_t>(sign | a.exponentField()), a.significand() ^ (bits() >> below(64))};
        case 1: // half an ulp of a, exactly or nearly
        {
            const int shifted = exponent - 64 - below(2);
            const std::uint64_t significand =
                chance(50) ? Extended::kIntegerBit : Extended::kIntegerBit | (bits() >> 40);
            return shifted >= 1 ? Extended{static_cast<std::uint16_t>(sign | shifted), significand} : any();
        }
        case 2: // a few bits below a
        {
            const int shifted = exponent - below(70);
            return shifted >= 1 ? normal(sign, shifted) : any();
        }
        default: return a;
        }
    }

private:
    Extended normal(std::uint16_t sign, int exponent)
    {
        return {static_cast<std::uint16_t>(sign | exponent), Extended::kIntegerBit | bits()};
    }

    std::mt19937_64 random_;
};

using Operation = Extended (*)(Extended, Extended);
struct OperationRow {
    const char* name;
    Operation x87;
    Operation mpfr;
};

TEST(Differential, ArithmeticAgreesBitForBit)
{
    constexpr std::array kOperations{
        OperationRow{"+", X87Numbers::add, MpfrNumbers::add},
        OperationRow{"-", X87Numbers::subtract, MpfrNumbers::subtract},
        OperationRow{"*", X87Numbers::multiply, MpfrNumbers::multiply},
        OperationRow{"/", X87Numbers::divide, MpfrNumbers::divide},
    };
    Values values(seed());
    for (const OperationRow& operation : kOperations) {
        expectAgreement(operation.name, 250'000, [&] {
            const Extended a = values.any();
            const Extended b = values.partner(a);
            const Extended hardware = operation.x87(a, b);
            const Extended portable = operation.mpfr(a, b);
            if (hardware.identical(portable)) {
                return std::string();
            }
            return hex(a) + " " + operation.name + " " + hex(b) + ": x87 " + hex(hardware) + ", MPFR " + hex(portable);
        });
    }
}

// Writes x exactly, or as many digits as `digits` allows, in C syntax.
std::string decimalText(mpfr_srcptr x, std::size_t digits)
{
    mpfr_exp_t exponent = 0;
    std::vector<char> text(digits + 8);
    mpfr_get_str(text.data(), &exponent, 10, digits, x, MPFR_RNDN);
    std::string result(text.data());
    const bool negative = result.starts_with('-');
    if (negative) {
        result.erase(0, 1);
    }
    return (negative ? "-0." : "0.") + result + "e" + std::to_string(exponent);
}

// A text for the reading test: typed-looking numbers, numbers far outside
// the range, and the exact midpoints between neighbouring extended values
// with texts just above and below them.
std::string readingCase(Values& values)
{
    if (values.chance(40)) {
        std::string text = values.chance(20) ? "-" : "";
        const int digits = 1 + values.below(30);
        const int point = values.below(digits + 1);
        for (int i = 0; i < digits; ++i) {
            if (i == point) {
                text += '.';
            }
            text += static_cast<char>('0' + values.below(10));
        }
        const int span = values.chance(20) ? 10000 : 60;
        return text + "e" + std::to_string(values.below(2 * span) - span);
    }
    Extended x = values.any();
    while (!x.isFinite() || x.isZero()) {
        x = values.any();
    }
    // Denormals and the largest values have exact texts thousands of digits
    // long; a few of them are enough.
    if ((x.exponentField() < 200 || x.exponentField() > kMaxFiniteExponent - 200) && !values.chance(2)) {
        x = Extended{static_cast<std::uint16_t>((x.signExponent() & Extended::kSignBit) | Extended::kExponentBias),
            x.significand() | Extended::kIntegerBit};
    }
    const long exponent = x.exponentField() == 0 ? 1 : static_cast<long>(x.exponentField());
    const long lowestBit = exponent - Extended::kExponentBias - 63;
    mpfr_t exact;
    mpfr_init2(exact, 96);
    mpfr_set_uj(exact, x.significand(), MPFR_RNDN);
    // The midpoint above x, then nudged by a tiny step either way.
    mpfr_mul_2ui(exact, exact, 1, MPFR_RNDN);
    mpfr_add_ui(exact, exact, 1, MPFR_RNDN);
    mpfr_mul_2si(exact, exact, lowestBit - 1, MPFR_RNDN);
    const int nudge = values.below(3);
    if (nudge != 0) {
        mpfr_t step;
        mpfr_init2(step, 8);
        mpfr_set_si_2exp(step, nudge == 1 ? 1 : -1, lowestBit - 20, MPFR_RNDN);
        mpfr_add(exact, exact, step, MPFR_RNDN);
        mpfr_clear(step);
    }
    if (x.negative()) {
        mpfr_neg(exact, exact, MPFR_RNDN);
    }
    // m x 2^e has at most 0.302 (bits + 2.33 |e|) digits when e < 0.
    const long e = lowestBit - 21;
    const auto digits =
        static_cast<std::size_t>(0.302 * (96 + (e < 0 ? 2.33 * static_cast<double>(-e) : static_cast<double>(e))) + 4);
    std::string text = decimalText(exact, digits);
    mpfr_clear(exact);
    return text;
}

TEST(Differential, ReadingAgreesBitForBit)
{
    Values values(seed() + 1);
    expectAgreement("read", 200'000, [&] {
        const std::string text = readingCase(values);
        const Extended hardware = X87Numbers::decimalValue(text);
        const Extended portable = MpfrNumbers::decimalValue(text);
        if (hardware.identical(portable)) {
            return std::string();
        }
        return text.substr(0, 80) + ": x87 " + hex(hardware) + ", MPFR " + hex(portable);
    });
}

// A value whose 19th significant digit is its last and a 5: a tie at 18
// digits. m x 2^-k has exactly k decimals, its digits those of m x 5^k.
Extended decimalTie(Values& values)
{
    const int k = values.below(26);
    std::uint64_t power = 1;
    for (int i = 0; i < k; ++i) {
        power *= 5;
    }
    const std::uint64_t low = 1'000'000'000'000'000'000ULL / power + 1;
    const std::uint64_t high =
        (kAllOnes / 2 < 9'999'999'999'999'999'999ULL / power ? kAllOnes / 2 : 9'999'999'999'999'999'999ULL / power);
    std::uint64_t m = low + values.bits() % (high - low + 1);
    if (k == 0) {
        m = m - m % 10 + 5;
    } else {
        m |= 1;
    }
    Extended x = Extended::fromInteger(static_cast<std::int64_t>(m));
    return {static_cast<std::uint16_t>(x.signExponent() - k), x.significand()};
}

TEST(Differential, SignificantDigitsAgree)
{
    Values values(seed() + 2);
    expectAgreement("18 digits", 200'000, [&] {
        Extended x = values.chance(25) ? decimalTie(values) : values.any();
        while (!x.isFinite() || x.isZero()) {
            x = values.any();
        }
        const calc::SignificantDigits hardware = X87Numbers::significantDigits(x);
        const calc::SignificantDigits portable = MpfrNumbers::significantDigits(x);
        if (hardware.digits == portable.digits && hardware.exponent == portable.exponent) {
            return std::string();
        }
        const auto text = [](const calc::SignificantDigits& d) {
            return std::string(d.digits.begin(), d.digits.end()) + "e" + std::to_string(d.exponent);
        };
        return hex(x) + ": x87 " + text(hardware) + ", MPFR " + text(portable);
    });
}

TEST(Differential, LongDoubleRoundTripsExactly)
{
    Values values(seed() + 3);
    expectAgreement("long double", 50'000, [&] {
        Extended x = values.any();
        while (x.isNaN() || x.isUnsupported()) {
            x = values.any();
        }
        const Extended back = X87Numbers::fromLongDouble(MpfrNumbers::toLongDouble(x));
        const Extended there = MpfrNumbers::fromLongDouble(X87Numbers::toLongDouble(x));
        // A pseudo-denormal comes back as the denormal it stands for.
        const Extended expected = x.exponentField() == 0 && x.significand() >= Extended::kIntegerBit
            ? Extended{static_cast<std::uint16_t>(x.signExponent() | 1), x.significand()}
            : x;
        if (back.identical(expected) && there.identical(expected)) {
            return std::string();
        }
        return hex(x) + ": through MPFR " + hex(back) + ", from the x87 " + hex(there);
    });
}

} // namespace
