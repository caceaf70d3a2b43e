#pragma once

#include "calc/Extended.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace calc {

// The fixed texts and the line shapes of the tape, in code page 936. Every
// number stands right-aligned so that it ends in column 25.
namespace tape_text {

// －－－－－－－－－－－－－－－ (15 full-width hyphen-minus signs)
inline constexpr std::string_view kSeparator = "\xA3\xAD\xA3\xAD\xA3\xAD\xA3\xAD\xA3\xAD\xA3\xAD\xA3\xAD\xA3\xAD\xA3"
                                               "\xAD\xA3\xAD\xA3\xAD\xA3\xAD\xA3\xAD\xA3\xAD\xA3\xAD";
inline constexpr std::string_view kResultWord = "\xBD\xE1\xB9\xFB"; // 结果
inline constexpr std::string_view kOutOfRange = "\xCA\xFD\xD7\xD6\xB3\xAC\xB7\xB6\xCE\xA7!"; // 数字超范围!

inline constexpr std::string_view kTaxLabel = " \xCB\xB0\xBD\xF0\xA3\xBA    "; // " 税金：    "
inline constexpr std::string_view kRateLabel = " \xCB\xB0\xC2\xCA\xA3\xBA     "; // " 税率：     "
inline constexpr std::string_view kPriceLabel = " \xB2\xBB\xBA\xAC\xCB\xB0\xBC\xDB\xA3\xBA"; // " 不含税价："
inline constexpr std::string_view kTotalLabel = " \xBC\xDB\xCB\xB0\xBA\xCF\xBC\xC6\xA3\xBA"; // " 价税合计："
inline constexpr std::string_view kRateSetLabel = " \xCB\xB0\xC2\xCA\xC9\xE8\xD6\xC3\xA3\xBA"; // " 税率设置："
// The word that names a report line, as the pick-up looks for it: the label
// without its leading blank, its trailing blanks and its full-width colon.
// " 税金：    " -> "税金".
constexpr std::string_view labelWord(std::string_view label)
{
    constexpr std::size_t kColonBytes = 2;
    label.remove_prefix(label.find_first_not_of(' '));
    label.remove_suffix(label.size() - 1 - label.find_last_not_of(' '));
    label.remove_suffix(kColonBytes);
    return label;
}
inline constexpr std::string_view kTaxWord = labelWord(kTaxLabel); // 税金
inline constexpr std::string_view kRateWord = labelWord(kRateLabel); // 税率
inline constexpr std::string_view kPriceWord = labelWord(kPriceLabel); // 不含税价
inline constexpr std::string_view kTotalWord = labelWord(kTotalLabel); // 价税合计
static_assert(kTaxWord.size() == 4 && kRateWord.size() == 4 && kPriceWord.size() == 8 && kTotalWord.size() == 8);

inline constexpr std::string_view kZeroRate = "\xCB\xB0\xC2\xCA\xCE\xAA"
                                              "0."; // 税率为0.
// 无法得到含税价和价税合计！
inline constexpr std::string_view kNoPriceAtZeroRate =
    "\xCE\xDE\xB7\xA8\xB5\xC3\xB5\xBD\xBA\xAC\xCB\xB0\xBC\xDB\xBA\xCD\xBC\xDB\xCB\xB0\xBA\xCF\xBC\xC6\xA3\xA1";

} // namespace tape_text

// Bytes `position` (1-based) to the end; empty when the text is shorter.
std::string_view bytesFrom(std::string_view text, std::size_t position);

// The entry as typed, without its final point: '12.' -> 23 blanks + "12".
std::string operandLine(std::string_view entryText);
// A number in general form, right-aligned to 25 bytes.
std::string numberLine(Extended x);
// "＋" + 21 blanks + "30"; with an empty symbol the 23 bytes alone.
std::string operatorLine(std::string_view symbol, Extended secondOperand);
// "结果" + the text right-aligned in 21 bytes; a longer text follows whole.
std::string resultLine(std::string_view resultText);
// "结果", ten blanks, "数字超范围!".
std::string overflowLine();

// FixedText with twelve digits and "%": 17 -> "17.00%".
std::string rateText(Extended rate);
std::string taxLine(Extended tax);
std::string rateLine(Extended rate);
std::string priceLine(Extended price);
std::string totalLine(Extended total);
// " 税率设置：" + the rate text right-aligned in 13 bytes.
std::string rateSetLine(std::string_view rateCaption);

} // namespace calc
