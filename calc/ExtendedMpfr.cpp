// The extended value's operations with GNU MPFR: 64-bit precision, the
// extended exponent range and mpfr_subnormalize give the x87's roundings on
// any CPU; the x87's rules for NaNs and refused patterns are applied first.
#include "calc/ExtendedBackends.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string>

// mpfr.h declares its intmax_t functions only after <cstdint>.
#include <mpfr.h>

namespace calc {
namespace {

// An MPFR value is m x 2^e with 1/2 <= m < 1; the extended range in those
// terms, the lowest exponent being that of the smallest denormal, 2^-16445.
constexpr mpfr_exp_t kEmax = Extended::kExponentBias + 1;
constexpr int kDenormalScale = Extended::kExponentBias - 1 + Extended::kSignificandBits - 1; // 16445
constexpr mpfr_exp_t kEmin = 1 - kDenormalScale;
constexpr mpfr_prec_t kPrecision = Extended::kSignificandBits;

// The exponent range for one operation, the caller's put back after it, so
// that a program with other MPFR work of its own is not disturbed.
class ExtendedRange {
public:
    ExtendedRange() : emin_(mpfr_get_emin()), emax_(mpfr_get_emax())
    {
        mpfr_set_emin(kEmin);
        mpfr_set_emax(kEmax);
    }
    ~ExtendedRange()
    {
        mpfr_set_emin(emin_);
        mpfr_set_emax(emax_);
    }
    ExtendedRange(const ExtendedRange&) = delete;
    ExtendedRange& operator=(const ExtendedRange&) = delete;

private:
    mpfr_exp_t emin_;
    mpfr_exp_t emax_;
};

// A 64-bit MPFR number whose digits live inside it: no allocation per
// operation.
class Mpfr64 {
public:
    Mpfr64()
    {
        mpfr_custom_init(limbs_.data(), kPrecision);
        mpfr_custom_init_set(value_, MPFR_ZERO_KIND, 0, kPrecision, limbs_.data());
    }
    explicit Mpfr64(Extended x) : Mpfr64() { set(x); }
    Mpfr64(const Mpfr64&) = delete;
    Mpfr64& operator=(const Mpfr64&) = delete;

    mpfr_ptr get() { return value_; }

    // Exact for every finite value and infinity: the significand times a
    // power of two; a denormal's exponent reads as 1.
    void set(Extended x)
    {
        if (x.isInfinity()) {
            mpfr_set_inf(value_, x.negative() ? -1 : 1);
            return;
        }
        mpfr_set_uj(value_, x.significand(), MPFR_RNDN);
        const long exponent = x.exponentField() == 0 ? 1 : static_cast<long>(x.exponentField());
        mpfr_mul_2si(value_, value_, exponent - kDenormalScale - 1, MPFR_RNDN);
        if (x.negative()) {
            mpfr_neg(value_, value_, MPFR_RNDN);
        }
        if (x.isZero()) {
            mpfr_set_zero(value_, x.negative() ? -1 : 1);
        }
    }

    // Of a result already rounded to the extended format.
    Extended extended()
    {
        if (mpfr_nan_p(value_)) {
            return Extended::defaultNaN();
        }
        const bool negative = mpfr_signbit(value_) != 0;
        if (mpfr_inf_p(value_)) {
            return Extended::infinity(negative);
        }
        const std::uint16_t sign = negative ? Extended::kSignBit : 0;
        if (mpfr_zero_p(value_)) {
            return {sign, 0};
        }
        const mpfr_exp_t e = mpfr_get_exp(value_);
        const long biased = static_cast<long>(e) + Extended::kExponentBias - 1;
        Mpfr64 scaled;
        if (biased >= 1) {
            mpfr_mul_2si(scaled.get(), value_, Extended::kSignificandBits - e, MPFR_RNDN);
        } else {
            mpfr_mul_2si(scaled.get(), value_, kDenormalScale, MPFR_RNDN);
        }
        mpfr_abs(scaled.get(), scaled.get(), MPFR_RNDN);
        const std::uint64_t significand = mpfr_get_uj(scaled.get(), MPFR_RNDN);
        return {static_cast<std::uint16_t>(sign | (biased >= 1 ? biased : 0)), significand};
    }

private:
    static constexpr std::size_t kLimbs = (kPrecision + GMP_NUMB_BITS - 1) / GMP_NUMB_BITS;
    std::array<mp_limb_t, kLimbs> limbs_{};
    mpfr_t value_;
};

Extended quieted(Extended nan) { return {nan.signExponent(), nan.significand() | Extended::kQuietBit}; }

// The x87's answer when an operand is a NaN: a quiet NaN before a signalling
// one, else the larger significand, quieted, and of equal ones the positive.
// None depends on the operands' order, which a compiler may swap.
Extended nanResult(Extended a, Extended b)
{
    if (!b.isNaN()) {
        return quieted(a);
    }
    if (!a.isNaN()) {
        return quieted(b);
    }
    if (a.isQuietNaN() != b.isQuietNaN()) {
        return a.isQuietNaN() ? a : b;
    }
    if (a.significand() != b.significand()) {
        return quieted(a.significand() > b.significand() ? a : b);
    }
    return quieted(a.negative() ? b : a);
}

using MpfrOperation = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t);

Extended operate(MpfrOperation operation, Extended a, Extended b)
{
    if (a.isUnsupported() || b.isUnsupported()) {
        return Extended::defaultNaN();
    }
    if (a.isNaN() || b.isNaN()) {
        return nanResult(a, b);
    }
    const ExtendedRange range;
    Mpfr64 x(a);
    Mpfr64 y(b);
    Mpfr64 result;
    const int inexact = operation(result.get(), x.get(), y.get(), MPFR_RNDN);
    mpfr_subnormalize(result.get(), inexact, MPFR_RNDN);
    return result.extended();
}

} // namespace

Extended MpfrNumbers::add(Extended a, Extended b) { return operate(mpfr_add, a, b); }
Extended MpfrNumbers::subtract(Extended a, Extended b) { return operate(mpfr_sub, a, b); }
Extended MpfrNumbers::multiply(Extended a, Extended b) { return operate(mpfr_mul, a, b); }
Extended MpfrNumbers::divide(Extended a, Extended b) { return operate(mpfr_div, a, b); }

SignificantDigits MpfrNumbers::significantDigits(Extended x)
{
    const ExtendedRange range;
    Mpfr64 value(x.abs());
    std::array<char, kSignificantDigits + 8> text{};
    mpfr_exp_t exponent = 0;
    mpfr_get_str(text.data(), &exponent, 10, kSignificantDigits, value.get(), MPFR_RNDN);
    SignificantDigits result;
    std::copy_n(text.begin(), kSignificantDigits, result.digits.begin());
    result.exponent = static_cast<int>(exponent);
    return result;
}

Extended MpfrNumbers::decimalValue(std::string_view text)
{
    const std::string terminated(text);
    const ExtendedRange range;
    Mpfr64 value;
    const int inexact = mpfr_strtofr(value.get(), terminated.c_str(), nullptr, 10, MPFR_RNDN);
    mpfr_subnormalize(value.get(), inexact, MPFR_RNDN);
    return value.extended();
}

long double MpfrNumbers::toLongDouble(Extended x)
{
    if (x.isNaN() || x.isUnsupported()) {
        return std::numeric_limits<long double>::quiet_NaN();
    }
    const ExtendedRange range;
    Mpfr64 value(x);
    return mpfr_get_ld(value.get(), MPFR_RNDN);
}

Extended MpfrNumbers::fromLongDouble(long double x)
{
    const ExtendedRange range;
    Mpfr64 value;
    const int inexact = mpfr_set_ld(value.get(), x, MPFR_RNDN);
    mpfr_subnormalize(value.get(), inexact, MPFR_RNDN);
    return value.extended();
}

} // namespace calc
