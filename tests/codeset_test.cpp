// The one iconv conversion of the program and the probe.
#include "calc/Codeset.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

TEST(Conversion, ConvertsWholeTexts)
{
    calc::Conversion toGb2312("GB2312", "UTF-8");
    ASSERT_TRUE(toGb2312.isOpen());
    EXPECT_EQ(toGb2312("用法"), "\xD3\xC3\xB7\xA8");
    EXPECT_EQ(toGb2312(""), "");
    // Longer than one round of the conversion's buffer.
    std::string many;
    std::string expected;
    for (int i = 0; i < 500; ++i) {
        many += "用法 ";
        expected += "\xD3\xC3\xB7\xA8 ";
    }
    EXPECT_EQ(toGb2312(many), expected);
}

TEST(Conversion, RefusesWhatItCannotWrite)
{
    calc::Conversion toLatin1("ISO-8859-1", "UTF-8");
    EXPECT_EQ(toLatin1("用法"), std::nullopt);
    // A failure leaves nothing behind for the next text.
    EXPECT_EQ(toLatin1("Usage"), "Usage");
    // A character cut short, and bytes that are no UTF-8.
    EXPECT_EQ(toLatin1("\xE7\x94"), std::nullopt);
    EXPECT_EQ(toLatin1("\xFF"), std::nullopt);
    calc::Conversion unknown("no-such-codeset", "UTF-8");
    EXPECT_FALSE(unknown.isOpen());
    EXPECT_EQ(unknown("Usage"), std::nullopt);
}

TEST(Conversion, EndsInTheInitialShiftState)
{
    // ISO-2022-JP shifts into JIS X 0208 for 日本 and must shift back.
    calc::Conversion toJis("ISO-2022-JP", "UTF-8");
    EXPECT_EQ(toJis("日本"), "\x1B$BF|K\\\x1B(B");
    EXPECT_EQ(toJis("日本"), "\x1B$BF|K\\\x1B(B");
}

TEST(Conversion, ReadsTheCodePageOfTheTape)
{
    calc::Conversion fromCp936("UTF-8", "CP936");
    EXPECT_EQ(fromCp936("\xB5\xC8\xD3\xDA"), "等于");
    EXPECT_EQ(fromCp936("\x80"), "€");
}

} // namespace
