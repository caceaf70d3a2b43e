#include "app/ScaleFactor.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

TEST(ScaleFactor, KeepsTheScalesTheWindowIsDrawnFor)
{
    struct Row {
        const char* value;
        std::optional<std::string> bounded;
    };
    const Row rows[] = {
        {"1", std::nullopt},
        {"1.33", std::nullopt},
        {"7", std::nullopt},
        {"8", std::nullopt},
        {"0.5", "1"},
        {"0", "1"},
        {"-2", "1"},
        {"100", "8"},
        {"inf", "8"},
        {"abc", std::nullopt}, // Qt ignores it
        {"2x", std::nullopt},
        {"", std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(app::boundedScaleFactor(row.value), row.bounded) << row.value;
    }
}

TEST(ScaleFactor, RewritesTheEnvironmentBeforeQtReadsIt)
{
    setenv("QT_SCALE_FACTOR", "0.5", 1);
    app::boundScaleFactor();
    EXPECT_STREQ(std::getenv("QT_SCALE_FACTOR"), "1");
    setenv("QT_SCALE_FACTOR", "1.5", 1);
    app::boundScaleFactor();
    EXPECT_STREQ(std::getenv("QT_SCALE_FACTOR"), "1.5");
    unsetenv("QT_SCALE_FACTOR");
}

} // namespace
