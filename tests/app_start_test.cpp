#include "app/FontConfigurationPreload.h"

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

} // namespace
