#include "bench/callgrind_totals.h"
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

TEST(SampleStats, QuantilesBetweenNeighbours)
{
    struct Row {
        std::vector<double> samples;
        double q;
        std::optional<double> expected;
    };
    const Row rows[] = {
        {{1, 2, 3, 4}, 0.25, 1.75},
        {{4, 3, 2, 1}, 0.75, 3.25},
        {{1, 2, 3, 4}, 0.5, 2.5},
        {{1, 2, 3, 4, 5}, 0.5, 3},
        {{7}, 0.9, 7},
        {{1, 3}, 0, 1},
        {{1, 3}, 1, 3},
        {{}, 0.5, std::nullopt},
        {{1, 2}, 1.5, std::nullopt},
        {{1, 2}, -0.1, std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(bench::quantile(row.samples, row.q), row.expected) << row.samples.size() << " at " << row.q;
    }
}

TEST(SampleStats, PairsRatiosOnlyWhereBothRoundsHaveFigures)
{
    const std::vector<std::optional<double>> ours{2.0, std::nullopt, 3.0, 4.0, 1.0};
    const std::vector<std::optional<double>> peer{1.0, 5.0, std::nullopt, 8.0, 0.0};
    EXPECT_EQ(bench::pairedRatios(ours, peer), (std::vector<double>{2.0, 0.5}));
    EXPECT_TRUE(bench::pairedRatios(ours, {}).empty());
}

TEST(CallgrindTotals, ReadsTheCountOfADump)
{
    struct Row {
        const char* name;
        std::string_view dump;
        std::optional<long long> expected;
    };
    const Row rows[] = {
        {"totals line",
            "version: 1\ncreator: callgrind-3.19.0\nevents: Ir\nfl=(1) a.c\nfn=(1) f\n3 20\ntotals: 351204\n", 351204},
        {"summary only", "events: Ir\nsummary: 4200\n", 4200},
        {"totals win over summary", "summary: 1\ntotals: 2\n", 2},
        {"more events than one", "events: Ir Dr\ntotals: 10 7\n", 10},
        {"no final newline", "totals: 99", 99},
        {"cost lines are no totals", "events: Ir\n16 5\n", std::nullopt},
        {"a word is no count", "totals: many\n", std::nullopt},
        {"half a number", "totals: 12x\n", std::nullopt},
        {"empty", "", std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(bench::callgrindTotal(row.dump), row.expected) << row.name;
    }
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
