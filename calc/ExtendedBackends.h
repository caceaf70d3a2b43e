#pragma once

#include "calc/Extended.h"

#include <string_view>

namespace calc {

// The two ways to work out the extended value's operations and conversions
// (calc/Extended.h says which serves where). Each library of the core binds
// one of them to Extended's operators (calc/ExtendedBinding.cpp); the
// differential test holds both. X87Numbers exists only where the compiler's
// long double is the x87 format.

struct X87Numbers {
    static Extended add(Extended a, Extended b);
    static Extended subtract(Extended a, Extended b);
    static Extended multiply(Extended a, Extended b);
    static Extended divide(Extended a, Extended b);
    static SignificantDigits significantDigits(Extended x);
    static Extended decimalValue(std::string_view text);
    static long double toLongDouble(Extended x);
    static Extended fromLongDouble(long double x);
};

struct MpfrNumbers {
    static Extended add(Extended a, Extended b);
    static Extended subtract(Extended a, Extended b);
    static Extended multiply(Extended a, Extended b);
    static Extended divide(Extended a, Extended b);
    static SignificantDigits significantDigits(Extended x);
    static Extended decimalValue(std::string_view text);
    static long double toLongDouble(Extended x);
    static Extended fromLongDouble(long double x);
};

} // namespace calc
