// Extended's operations, worked out by the backend this library was built
// with: calc/ChosenNumbers.h is written by calc/CMakeLists.txt for each
// library of the core.
#include "calc/ChosenNumbers.h"

namespace calc {

Extended operator+(Extended a, Extended b) { return ChosenNumbers::add(a, b); }
Extended operator-(Extended a, Extended b) { return ChosenNumbers::subtract(a, b); }
Extended operator*(Extended a, Extended b) { return ChosenNumbers::multiply(a, b); }
Extended operator/(Extended a, Extended b) { return ChosenNumbers::divide(a, b); }
SignificantDigits significantDigits(Extended x) { return ChosenNumbers::significantDigits(x); }
Extended decimalValue(std::string_view text) { return ChosenNumbers::decimalValue(text); }
long double toLongDouble(Extended x) { return ChosenNumbers::toLongDouble(x); }
Extended fromLongDouble(long double x) { return ChosenNumbers::fromLongDouble(x); }

} // namespace calc
