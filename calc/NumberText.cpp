#include "calc/NumberText.h"

#include "calc/Exception.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

namespace calc {
namespace {

constexpr int kGeneralDigits = 15;
constexpr int kNoDecimalsLimit = -1;
// An exponent's digits are read until its value reaches this; the rest stay
// unread: "1E5000" is 1E500 followed by a stray "0", so no number at all.
constexpr int kExponentStop = 500;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A number as at most 18 decimal digits: |x| = 0.d1d2d3... x 10^exponent.
// No digits means zero; the last digit is never '0'.
struct DecimalForm {
    enum class Special { None, Infinity, NaN };

    std::array<char, kSignificantDigits> digits{};
    int count = 0;
    int exponent = 0;
    bool negative = false;
    Special special = Special::None;
};

// Cuts the 18 digits after `keep` digits, rounding half up on the decimal
// digits themselves; a carry out of the first digit leaves "1".
void roundHalfUp(DecimalForm& form, int keep)
{
    const bool roundUp = keep < form.count && form.digits[keep] >= '5';
    form.count = keep;
    if (roundUp) {
        int i = keep - 1;
        while (i >= 0 && form.digits[i] == '9') {
            --i;
        }
        if (i < 0) {
            form.digits[0] = '1';
            form.count = 1;
            ++form.exponent;
        } else {
            ++form.digits[i];
            form.count = i + 1;
        }
    }
    while (form.count > 0 && form.digits[form.count - 1] == '0') {
        --form.count;
    }
}

// digitBudget: the most significant digits kept; decimals: digits after the
// point kept, or kNoDecimalsLimit.
DecimalForm decimalForm(Extended x, int digitBudget, int decimals)
{
    DecimalForm form;
    if (x.exponentField() == 0) {
        return form; // zero of either sign, or a denormal
    }
    if (x.exponentField() == Extended::kExponentMask) {
        // An infinity, or a pseudo-infinity without its integer bit, reads
        // as one; the rest are NaNs.
        const bool infinity = (x.significand() & Extended::kFractionMask) == 0;
        form.special = infinity ? DecimalForm::Special::Infinity : DecimalForm::Special::NaN;
        form.negative = infinity && x.negative();
        return form;
    }
    if (x.isUnsupported()) {
        // The processor rejects it as an operand, so it reads as "not a number".
        form.special = DecimalForm::Special::NaN;
        return form;
    }

    const SignificantDigits digits = significantDigits(x);
    form.digits = digits.digits;
    form.count = kSignificantDigits;
    form.exponent = digits.exponent;
    int keep = decimals == kNoDecimalsLimit ? digitBudget : form.exponent + decimals;
    if (keep < 0) {
        return DecimalForm{};
    }
    if (keep > digitBudget) {
        keep = digitBudget;
    }
    roundHalfUp(form, keep);
    if (form.count == 0) {
        return DecimalForm{};
    }
    form.negative = x.negative();
    return form;
}

std::string specialText(const DecimalForm& form)
{
    if (form.special == DecimalForm::Special::NaN) {
        return "NAN";
    }
    return form.negative ? "-INF" : "INF";
}

void appendExponent(std::string& text, int exponent, int minDigits)
{
    if (exponent < 0) {
        text += '-';
    }
    char buffer[16];
    const int length = std::snprintf(buffer, sizeof buffer, "%0*d", minDigits, exponent < 0 ? -exponent : exponent);
    text.append(buffer, static_cast<std::size_t>(length));
}

// d1[.d2...dk]E[-]exp, the exponent being E - 1.
void appendScientific(std::string& text, const DecimalForm& form, int minExponentDigits)
{
    if (form.negative) {
        text += '-';
    }
    text += form.digits[0];
    if (form.count > 1) {
        text += '.';
        text.append(form.digits.data() + 1, static_cast<std::size_t>(form.count - 1));
    }
    text += 'E';
    appendExponent(text, form.exponent - 1, minExponentDigits);
}

// The first `count` digits, "0" for each position past the last digit.
void appendIntegerDigits(std::string& text, const DecimalForm& form, int count)
{
    const int written = count < form.count ? count : form.count;
    text.append(form.digits.data(), static_cast<std::size_t>(written));
    text.append(static_cast<std::size_t>(count - written), '0');
}

} // namespace

std::string GeneralText(Extended x)
{
    const DecimalForm form = decimalForm(x, kGeneralDigits, kNoDecimalsLimit);
    if (form.special != DecimalForm::Special::None) {
        return specialText(form);
    }
    if (form.count == 0) {
        return "0";
    }
    std::string text;
    text.reserve(24);
    const int e = form.exponent;
    if (e > kGeneralDigits || e < -3) {
        appendScientific(text, form, 1);
        return text;
    }
    if (form.negative) {
        text += '-';
    }
    if (e <= 0) {
        text += "0.";
        text.append(static_cast<std::size_t>(-e), '0');
        text.append(form.digits.data(), static_cast<std::size_t>(form.count));
        return text;
    }
    appendIntegerDigits(text, form, e);
    if (form.count > e) {
        text += '.';
        text.append(form.digits.data() + e, static_cast<std::size_t>(form.count - e));
    }
    return text;
}

std::string FixedText(Extended x, int digits)
{
    constexpr int kDecimals = 2;
    // Budgets outside 1 to 18 would cut outside the 18 digits.
    digits = digits < 1 ? 1 : (digits > kSignificantDigits ? kSignificantDigits : digits);
    const DecimalForm form = decimalForm(x, digits, kDecimals);
    if (form.special != DecimalForm::Special::None) {
        return specialText(form);
    }
    std::string text;
    text.reserve(24);
    const int e = form.exponent;
    if (e > digits) {
        appendScientific(text, form, 2);
        return text;
    }
    if (form.negative) {
        text += '-';
    }
    if (e <= 0) {
        text += '0';
    } else {
        appendIntegerDigits(text, form, e);
    }
    text += '.';
    std::size_t decimalsWritten = 0;
    if (e < 0) {
        text.append(static_cast<std::size_t>(-e), '0');
        decimalsWritten = static_cast<std::size_t>(-e);
    }
    const int firstFraction = e > 0 ? e : 0;
    if (form.count > firstFraction) {
        const auto fraction = static_cast<std::size_t>(form.count - firstFraction);
        text.append(form.digits.data() + firstFraction, fraction);
        decimalsWritten += fraction;
    }
    if (decimalsWritten < kDecimals) {
        text.append(kDecimals - decimalsWritten, '0');
    }
    return text;
}

Extended ParseNumber(std::string_view s)
{
    const std::size_t n = s.size();
    std::size_t i = 0;
    while (i < n && s[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    const std::size_t integerStart = i;
    while (i < n && isDigit(s[i])) {
        ++i;
    }
    const std::string_view integerDigits = s.substr(integerStart, i - integerStart);
    bool point = false;
    std::string_view fractionDigits;
    if (i < n && s[i] == '.') {
        point = true;
        const std::size_t fractionStart = ++i;
        while (i < n && isDigit(s[i])) {
            ++i;
        }
        fractionDigits = s.substr(fractionStart, i - fractionStart);
    }
    if (integerDigits.empty() && !point) {
        throw EConvertError::forText(s);
    }
    int exponent = 0;
    if (i < n && (s[i] == 'E' || s[i] == 'e')) {
        ++i;
        bool exponentNegative = false;
        if (i < n && (s[i] == '+' || s[i] == '-')) {
            exponentNegative = s[i] == '-';
            ++i;
        }
        while (i < n && isDigit(s[i]) && exponent < kExponentStop) {
            exponent = exponent * 10 + (s[i] - '0');
            ++i;
        }
        if (exponentNegative) {
            exponent = -exponent;
        }
    }
    while (i < n && s[i] == ' ') {
        ++i;
    }
    if (i != n) {
        throw EConvertError::forText(s);
    }

    // The same number in the C library's own syntax, converted correctly
    // rounded. Short texts stay on the stack.
    const std::size_t length = integerDigits.size() + fractionDigits.size() + 10;
    std::array<char, 64> shortText;
    std::string longText;
    char* normal = shortText.data();
    if (length > shortText.size()) {
        longText.resize(length);
        normal = longText.data();
    }
    char* out = normal;
    if (negative) {
        *out++ = '-';
    }
    if (integerDigits.empty()) {
        *out++ = '0';
    } else {
        out = std::copy(integerDigits.begin(), integerDigits.end(), out);
    }
    if (!fractionDigits.empty()) {
        *out++ = '.';
        out = std::copy(fractionDigits.begin(), fractionDigits.end(), out);
    }
    if (exponent != 0) {
        *out++ = 'e';
        out = std::to_chars(out, normal + length - 1, exponent).ptr;
    }

    const Extended value = decimalValue(std::string_view(normal, static_cast<std::size_t>(out - normal)));
    if (value.isInfinity()) {
        throw EConvertError::forText(s);
    }
    return value;
}

std::string TrimTrailingPoint(std::string_view s)
{
    if (s == ".") {
        return "0";
    }
    if (!s.empty() && s.back() == '.') {
        s.remove_suffix(1);
    }
    return std::string(s);
}

std::string AlignRight(std::string_view s)
{
    constexpr std::size_t kColumn = 25;
    if (s.empty() || s.size() >= kColumn) {
        return {};
    }
    std::string text(kColumn - s.size(), ' ');
    text += s;
    return text;
}

std::string_view TrimBlanks(std::string_view s)
{
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    while (!s.empty() && isBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

} // namespace calc
