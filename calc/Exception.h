#pragma once

#include <exception>
#include <string>
#include <string_view>
#include <utility>

namespace calc {

// The common base of the calculator's errors. The message is a code page 936
// byte string, shown by the window's error report.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// A text that does not read as a number.
class EConvertError : public Exception {
public:
    using Exception::Exception;
    // "'<text>' is not a valid floating point value", the text quoted unchanged.
    static EConvertError forText(std::string_view text);
};

// An amount of a tax report beyond the extended range.
class EOverflow : public Exception {
public:
    EOverflow() : Exception("Floating point overflow") {}
};

} // namespace calc
