#include "app/FontConfigurationPreload.h"

#include <gtest/gtest.h>

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
    auto policy = std::make_shared<std::promise<int>>();
    ASSERT_TRUE(app::preloadInIdleTime([policy] { policy->set_value(sched_getscheduler(0)); }));
    auto seen = policy->get_future();
    ASSERT_EQ(seen.wait_for(kPatience), std::future_status::ready);
    EXPECT_EQ(seen.get(), SCHED_IDLE);
    // The caller's own class is untouched.
    EXPECT_EQ(sched_getscheduler(0), SCHED_OTHER);
}

TEST(PreloadInIdleTime, ReturnsWithoutWaitingForTheLoad)
{
    auto release = std::make_shared<std::promise<void>>();
    auto finished = std::make_shared<std::promise<void>>();
    ASSERT_TRUE(app::preloadInIdleTime([go = release->get_future().share(), finished] {
        go.wait();
        finished->set_value();
    }));
    auto done = finished->get_future();
    EXPECT_EQ(done.wait_for(50ms), std::future_status::timeout);
    release->set_value();
    EXPECT_EQ(done.wait_for(kPatience), std::future_status::ready);
}

} // namespace
