#include "bench/child_process.h"
#include "bench/cpu_list.h"
#include "bench/memory_use.h"
#include "bench/sample_stats.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

// As Linux 6.x writes it: Pss_Anon and the like follow Pss.
constexpr std::string_view kRollup = "55d0c8a5e000-7ffc2b1f1000 ---p 00000000 00:00 0    [rollup]\n"
                                     "Rss:               42012 kB\n"
                                     "Pss:               27431 kB\n"
                                     "Pss_Dirty:          9120 kB\n"
                                     "Pss_Anon:           8800 kB\n"
                                     "Pss_File:          18311 kB\n"
                                     "Shared_Clean:      20480 kB\n";

TEST(SmapsRollup, ReadsRssAndPss)
{
    const auto use = bench::parseSmapsRollup(kRollup);
    ASSERT_TRUE(use);
    EXPECT_EQ(use->rssKb, 42012);
    EXPECT_EQ(use->pssKb, 27431);
}

TEST(SmapsRollup, TakesNoPssFromItsParts)
{
    EXPECT_FALSE(bench::parseSmapsRollup("Rss: 10 kB\nPss_Anon: 5 kB\nPss_File: 3 kB\n"));
}

TEST(SmapsRollup, ReadsThisProcess)
{
    const auto use = bench::readMemoryUse(::getpid());
    ASSERT_TRUE(use);
    EXPECT_GT(use->rssKb, 0);
    EXPECT_GT(use->pssKb, 0);
    EXPECT_LE(use->pssKb, use->rssKb);
}

TEST(SampleStats, MedianOfEvenAndOddCounts)
{
    EXPECT_EQ(bench::median({3, 1, 2}), 2);
    EXPECT_EQ(bench::median({4, 1, 3, 2}), 2.5);
    EXPECT_FALSE(bench::median({}));
    EXPECT_EQ(bench::minimum({3, 1, 2}), 1);
}

TEST(ChildProcess, SaysWhenTheProgramCannotRun)
{
    EXPECT_FALSE(bench::ChildProcess::start({"/nonexistent/program"}, {}));
}

TEST(ChildProcess, StopsAProgramThatKeepsRunning)
{
    auto child = bench::ChildProcess::start({"sleep", "30"}, {});
    ASSERT_TRUE(child);
    EXPECT_TRUE(child->running());
    EXPECT_FALSE(child->cpuTime());
    child->stop();
    EXPECT_FALSE(child->running());
    EXPECT_TRUE(child->cpuTime());
}

TEST(ChildProcess, ReportsTheProcessorTimeItUsed)
{
    // A child that spins for 0.3 s of its own processor time, then sleeps.
    auto child = bench::ChildProcess::start(
        {"/usr/bin/python3", "-c",
            "import time\nend = time.process_time() + 0.3\nwhile time.process_time() < end: pass\ntime.sleep(0.2)"},
        {});
    ASSERT_TRUE(child);
    while (child->running()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(child->cpuTime());
    EXPECT_GE(*child->cpuTime(), std::chrono::milliseconds(300));
    EXPECT_LT(*child->cpuTime(), std::chrono::milliseconds(490));
}

TEST(ChildProcess, CountsTheProcessorTimeOfEveryThread)
{
    // The main thread only waits while a second thread spins for 0.3 s of
    // its own processor time; a count of the main thread alone stays near 0.
    auto child = bench::ChildProcess::start({"/usr/bin/python3", "-c",
                                                "import threading, time\n"
                                                "def spin():\n"
                                                "    end = time.thread_time() + 0.3\n"
                                                "    while time.thread_time() < end: pass\n"
                                                "t = threading.Thread(target=spin)\n"
                                                "t.start()\n"
                                                "t.join()\n"
                                                "time.sleep(0.2)"},
        {});
    ASSERT_TRUE(child);
    while (child->running()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(child->cpuTime());
    EXPECT_GE(*child->cpuTime(), std::chrono::milliseconds(300));
}

TEST(CpuList, ReadsTasksetLists)
{
    struct Row {
        const char* list;
        std::vector<int> cpus; // empty: refused
    };
    const Row rows[] = {
        {"0", {0}},
        {"1", {1}},
        {"0,1", {0, 1}},
        {"0-2", {0, 1, 2}},
        {"0,2-3", {0, 2, 3}},
        {"3,1", {1, 3}},
        {"", {}},
        {",", {}},
        {"0,", {}},
        {"2-1", {}},
        {"-1", {}},
        {"a", {}},
        {"1x", {}},
        {"0-", {}},
        {"99999", {}},
    };
    for (const Row& row : rows) {
        const auto set = bench::parseCpuList(row.list);
        ASSERT_EQ(set.has_value(), !row.cpus.empty()) << row.list;
        if (!set) {
            continue;
        }
        EXPECT_EQ(CPU_COUNT(&*set), static_cast<int>(row.cpus.size())) << row.list;
        for (const int cpu : row.cpus) {
            EXPECT_TRUE(CPU_ISSET(cpu, &*set)) << row.list << " " << cpu;
        }
    }
}

} // namespace
