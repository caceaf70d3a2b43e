#include "app/FontConfigurationPreload.h"
#include "app/ScaleFactor.h"

#include <gtest/gtest.h>

#include <fontconfig/fontconfig.h>
#include <sched.h>

#include <chrono>
#include <future>
#include <memory>

namespace {

using namespace std::chrono_literals;

// An idle-class thread may wait long for a turn on a busy machine.
constexpr auto kPatience = 60s;

TEST(PreloadInIdleTime, RunsTheLoadInTheIdleSchedulingClass)
{
    auto policy = std::make_shared<int>(-1);
    auto done = app::preloadInIdleTime([policy] { *policy = sched_getscheduler(0); });
    ASSERT_TRUE(done.valid());
    ASSERT_EQ(done.wait_for(kPatience), std::future_status::ready);
    EXPECT_EQ(*policy, SCHED_IDLE);
    // The caller's own class is untouched.
    EXPECT_EQ(sched_getscheduler(0), SCHED_OTHER);
}

TEST(PreloadInIdleTime, ReturnsAtOnceAndIsReadyWhenTheLoadIsDone)
{
    std::promise<void> release;
    auto done = app::preloadInIdleTime([go = release.get_future().share()] { go.wait(); });
    ASSERT_TRUE(done.valid());
    EXPECT_EQ(done.wait_for(50ms), std::future_status::timeout);
    release.set_value();
    EXPECT_EQ(done.wait_for(kPatience), std::future_status::ready);
}

TEST(PreloadFontConfiguration, LeavesTheConfigurationLoadedForEveryone)
{
    auto done = app::preloadFontConfiguration();
    ASSERT_TRUE(done.valid());
    ASSERT_EQ(done.wait_for(kPatience), std::future_status::ready);
    // What Qt's own FcInit() will find: the configuration is there, and a
    // later FcInit() keeps it instead of loading another.
    FcConfig* const loaded = FcConfigGetCurrent();
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(FcInit(), FcTrue);
    EXPECT_EQ(FcConfigGetCurrent(), loaded);
    // fontconfig frees its process-wide state only when asked.
    FcFini();
}

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
