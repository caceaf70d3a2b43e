#pragma once

// The tape's and the hints' code page 936 texts as the tests spell them,
// independently of the core, and a few helpers to compare tapes.

#include "calc/Calculator.h"

#include <string>
#include <string_view>
#include <vector>

namespace texts {

inline std::string blanks(std::size_t n) { return std::string(n, ' '); }

// Right-aligned in the 25 columns of the tape.
inline std::string col25(std::string_view head, std::string_view number)
{
    return std::string(head) + blanks(25 - head.size() - number.size()) + std::string(number);
}

inline constexpr std::string_view kPlus = "\xA3\xAB"; // ＋
inline constexpr std::string_view kMinus = "\xA3\xAD"; // －
inline constexpr std::string_view kTimes = "\xA1\xC1"; // ×
inline constexpr std::string_view kDivide = "\xA1\xC2"; // ÷
inline constexpr std::string_view kResult = "\xBD\xE1\xB9\xFB"; // 结果
// 15 × －
inline const std::string kSeparator = [] {
    std::string s;
    for (int i = 0; i < 15; ++i) {
        s += "\xA3\xAD";
    }
    return s;
}();
// 结果 + 10 blanks + 数字超范围!
inline const std::string kOverflowLine =
    std::string(kResult) + blanks(10) + "\xCA\xFD\xD7\xD6\xB3\xAC\xB7\xB6\xCE\xA7!";

inline constexpr std::string_view kTaxLabel = " \xCB\xB0\xBD\xF0\xA3\xBA    "; // " 税金：    "
inline constexpr std::string_view kRateLabel = " \xCB\xB0\xC2\xCA\xA3\xBA     "; // " 税率：     "
inline constexpr std::string_view kPriceLabel = " \xB2\xBB\xBA\xAC\xCB\xB0\xBC\xDB\xA3\xBA"; // " 不含税价："
inline constexpr std::string_view kTotalLabel = " \xBC\xDB\xCB\xB0\xBA\xCF\xBC\xC6\xA3\xBA"; // " 价税合计："
inline constexpr std::string_view kRateSetLabel = " \xCB\xB0\xC2\xCA\xC9\xE8\xD6\xC3\xA3\xBA"; // " 税率设置："
inline constexpr std::string_view kZeroRate = "\xCB\xB0\xC2\xCA\xCE\xAA"
                                              "0."; // 税率为0.
// 无法得到含税价和价税合计！
inline constexpr std::string_view kNoPrice =
    "\xCE\xDE\xB7\xA8\xB5\xC3\xB5\xBD\xBA\xAC\xCB\xB0\xBC\xDB\xBA\xCD\xBC\xDB\xCB\xB0\xBA\xCF\xBC\xC6\xA3\xA1";

// Hints that tests look for.
inline constexpr std::string_view kEqualHintStart = " = ";
inline constexpr std::string_view kMsHintStart = " MS ";
// 数据太大，不允许再输入。请进行其它操作——
inline constexpr std::string_view kLimitHint =
    "\xCA\xFD\xBE\xDD\xCC\xAB\xB4\xF3\xA3\xAC\xB2\xBB\xD4\xCA\xD0\xED\xD4\xD9\xCA\xE4\xC8\xEB\xA1\xA3\xC7\xEB\xBD\xF8"
    "\xD0\xD0\xC6\xE4\xCB\xFC\xB2\xD9\xD7\xF7\xA1\xAA\xA1\xAA";

inline std::vector<std::string> tapeLines(const calc::Calculator& c)
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < c.tape().count(); ++i) {
        lines.emplace_back(c.tape().line(i));
    }
    return lines;
}

} // namespace texts
