// Start-up of the calculator beside a bare Qt dialog of the same size, font
// and widget count, built with it (bench-bare-dialog): time from fork to the
// window's map and to its first paint, and resident memory a second after the
// map. Fresh starts, alternating between them, on an Xvfb of our own.
//
//   bench-startup [--starts N] [--wm openbox] [--cpus LIST] [--program PATH]... [--bare PATH]
//
// --program may be given more than once, to compare builds of the program in
// one interleaved series. --cpus (as taskset takes it: 0 or 0,1 or 0-1) pins
// the whole benchmark, and so Xvfb and every program it starts, to those
// processors: with one, the server and the program share a core as they do on
// a one-core machine.
#include "StartupPaths.h"

#include "bench/child_process.h"
#include "bench/cpu_list.h"
#include "bench/memory_use.h"
#include "bench/report_text.h"
#include "bench/sample_stats.h"
#include "bench/window_watch.h"
#include "bench/xvfb_server.h"

#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

using bench::Clock;
using namespace std::chrono_literals;

constexpr auto kStartTimeout = 10s;
constexpr auto kSettle = 1s;
// No slower to show and no more work than the bare dialog, on one core or
// two, with at most 2 MiB more resident.
constexpr double kMapGoal = 1.00;
constexpr double kPaintGoal = 1.15;
constexpr double kCpuGoal = 1.00;
constexpr double kRssGoalMiB = 2;

struct Options {
    int starts = 15;
    bool windowManager = false;
    std::vector<std::string> programs;
    std::string bare = bench::kBareDialogPath;
    std::optional<cpu_set_t> cpus;
};

std::optional<Options> parse(int argc, char* argv[])
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--starts" && hasValue) {
            options.starts = std::atoi(argv[++i]);
        } else if (arg == "--wm" && hasValue && std::string_view(argv[i + 1]) == "openbox") {
            options.windowManager = true;
            ++i;
        } else if (arg == "--cpus" && hasValue) {
            if (!(options.cpus = bench::parseCpuList(argv[++i]))) {
                return std::nullopt;
            }
        } else if (arg == "--program" && hasValue) {
            options.programs.emplace_back(argv[++i]);
        } else if (arg == "--bare" && hasValue) {
            options.bare = argv[++i];
        } else {
            return std::nullopt;
        }
    }
    if (options.starts < 1) {
        return std::nullopt;
    }
    if (options.programs.empty()) {
        options.programs.emplace_back(bench::kProgramPath);
    }
    return options;
}

struct Sample {
    double mapMs = 0;
    double paintMs = 0;
    double cpuMs = 0;
    bench::MemoryUse memory;
    int otherQtProcesses = 0;
};

struct Series {
    std::string name;
    std::string path;
    std::vector<Sample> samples;
    int failures = 0;

    std::vector<double> values(auto member) const
    {
        std::vector<double> v;
        for (const Sample& s : samples) {
            v.push_back(static_cast<double>(member(s)));
        }
        return v;
    }
};

double msBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// One fresh start: fork and exec, wait for the map and the first paint, read
// memory a second after the map, then end the program.
std::optional<Sample> startOnce(
    const std::string& path, const std::string& display, bench::WindowWatch& watch, const std::string& logPath)
{
    const auto started = Clock::now();
    auto child = bench::ChildProcess::start({path},
        {.extraEnvironment = {"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb"}, .logPath = logPath, .inheritedFd = {}});
    if (!child) {
        return std::nullopt;
    }
    watch.follow(child->pid());
    const auto deadline = started + kStartTimeout;
    while (!watch.painted() && Clock::now() < deadline && child->running()) {
        watch.waitForPaint(std::min(deadline, Clock::now() + 100ms));
    }
    if (!watch.mapped() || !watch.painted()) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(),
            !child->running() ? "ended before its window was drawn" : "no window drawn in time");
        return std::nullopt;
    }
    std::this_thread::sleep_until(*watch.mapped() + kSettle);
    const auto memory = bench::readMemoryUse(child->pid());
    if (!memory || !child->running()) {
        std::fprintf(stderr, "%s: ended within a second of its map\n", path.c_str());
        return std::nullopt;
    }
    const int others = bench::countOtherMappers(child->pid(), "libQt6Core.so");
    child->stop();
    const std::chrono::duration<double, std::milli> cpu = child->cpuTime().value_or(std::chrono::microseconds(0));
    return Sample{
        msBetween(started, *watch.mapped()), msBetween(started, *watch.painted()), cpu.count(), *memory, others};
}

std::optional<double> ratio(std::optional<double> a, std::optional<double> b)
{
    if (!a || !b || *b == 0) {
        return std::nullopt;
    }
    return *a / *b;
}

std::optional<double> difference(std::optional<double> a, std::optional<double> b)
{
    if (!a || !b) {
        return std::nullopt;
    }
    return *a - *b;
}

const char* verdict(std::optional<double> value, double goal)
{
    if (!value) {
        return "no figure";
    }
    return *value <= goal ? "met" : "missed";
}

// Wide enough for the longest program's name.
int gNameWidth = 16;

void printRow(const std::string& name, const std::vector<std::string>& cells)
{
    bench::printRow(name, cells, gNameWidth, 14);
}

void report(const std::vector<Series>& programs, const Series& bare, const Options& options, const std::string& display,
    int processors)
{
    for (const Series& program : programs) {
        gNameWidth = std::max(gNameWidth, static_cast<int>(program.name.size()) + 2);
    }
    auto row = [](const Series& s) {
        const auto map = s.values([](const Sample& x) { return x.mapMs; });
        const auto paint = s.values([](const Sample& x) { return x.paintMs; });
        const auto rss = s.values([](const Sample& x) { return x.memory.rssKb / 1024.0; });
        const auto pss = s.values([](const Sample& x) { return x.memory.pssKb / 1024.0; });
        const auto cpu = s.values([](const Sample& x) { return x.cpuMs; });
        return std::vector<std::optional<double>>{bench::median(map), bench::minimum(map), bench::median(paint),
            bench::minimum(paint), bench::median(rss), bench::median(pss), bench::median(cpu)};
    };
    const auto b = row(bare);

    std::printf("\nStart-up on %s with Qt %s, Xvfb %s, %s, %d processor(s)%s; %d fresh starts of each,\n"
                "alternating, after one unmeasured start each.\n",
        bench::systemName().c_str(), bench::kQtVersion, display.c_str(),
        options.windowManager ? "window manager openbox" : "no window manager", processors,
        options.cpus ? " (the benchmark, Xvfb and the programs pinned)" : "", options.starts);
    std::printf("Times from fork to the window's MapNotify and to its first DamageNotify; memory from\n"
                "/proc/<pid>/smaps_rollup one second after the map (MiB = 1024 KiB); CPU is the processor\n"
                "time of all the program's threads from its start to its end, a second after the map.\n\n");
    printRow("", {"map median", "map min", "paint median", "paint min", "RSS median", "PSS median", "CPU median"});
    auto values = [](const std::vector<std::optional<double>>& r) {
        return std::vector<std::string>{bench::cell(r[0], "%.1f ms"), bench::cell(r[1], "%.1f ms"),
            bench::cell(r[2], "%.1f ms"), bench::cell(r[3], "%.1f ms"), bench::cell(r[4], "%.1f MiB"),
            bench::cell(r[5], "%.1f MiB"), bench::cell(r[6], "%.1f ms")};
    };
    printRow(bare.name.c_str(), values(b));
    for (const Series& program : programs) {
        printRow(program.name.c_str(), values(row(program)));
    }
    for (const Series& program : programs) {
        const auto p = row(program);
        std::vector<std::optional<double>> times;
        for (int i = 0; i < 4; ++i) {
            times.push_back(ratio(p[i], b[i]));
        }
        const auto rssMore = difference(p[4], b[4]);
        const auto cpu = ratio(p[6], b[6]);
        std::printf("\n%s against the bare dialog:\n", program.name.c_str());
        printRow("ratio",
            {bench::cell(times[0], "x %.2f"), bench::cell(times[1], "x %.2f"), bench::cell(times[2], "x %.2f"),
                bench::cell(times[3], "x %.2f"), bench::cell(rssMore, "%+.1f MiB"),
                bench::cell(difference(p[5], b[5]), "%+.1f MiB"), bench::cell(cpu, "x %.2f")});
        printRow("goal",
            {bench::cell(kMapGoal, "<= x %.2f"), "", bench::cell(kPaintGoal, "<= x %.2f"), "",
                bench::cell(kRssGoalMiB, "<= +%.1f MiB"), "", bench::cell(kCpuGoal, "<= x %.2f")});
        printRow("",
            {verdict(times[0], kMapGoal), "", verdict(times[2], kPaintGoal), "", verdict(rssMore, kRssGoalMiB), "",
                verdict(cpu, kCpuGoal)});
    }
    int others = 0;
    for (const Series& s : programs) {
        for (const Sample& sample : s.samples) {
            others = std::max(others, sample.otherQtProcesses);
        }
    }
    for (const Sample& sample : bare.samples) {
        others = std::max(others, sample.otherQtProcesses);
    }
    if (others > 0) {
        std::printf(
            "PSS lowered by sharing: up to %d other process(es) had Qt loaded at the memory readings.\n", others);
    }
    if (bare.failures > 0) {
        std::printf("%s: %d start(s) failed and are left out.\n", bare.name.c_str(), bare.failures);
    }
    for (const Series& s : programs) {
        if (s.failures > 0) {
            std::printf("%s: %d start(s) failed and are left out.\n", s.name.c_str(), s.failures);
        }
    }
}

} // namespace

int main(int argc, char* argv[])
{
    const auto options = parse(argc, argv);
    if (!options) {
        std::fprintf(
            stderr, "usage: %s [--starts N] [--wm openbox] [--cpus LIST] [--program PATH]... [--bare PATH]\n", argv[0]);
        return 2;
    }
    // Before anything is started: every process inherits the mask.
    if (options->cpus && ::sched_setaffinity(0, sizeof *options->cpus, &*options->cpus) != 0) {
        std::perror("sched_setaffinity");
        return 1;
    }
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    ::sched_getaffinity(0, sizeof allowed, &allowed);
    const int processors = CPU_COUNT(&allowed);

    const std::filesystem::path logs =
        std::filesystem::temp_directory_path() / ("bench-startup." + std::to_string(::getpid()));
    std::filesystem::create_directories(logs);

    const auto server = bench::XvfbServer::start(logs / "xvfb.log");
    if (!server) {
        return 1;
    }
    std::optional<bench::WindowManager> manager;
    if (options->windowManager && !(manager = bench::WindowManager::start(server->display(), logs / "openbox.log"))) {
        return 1;
    }
    auto watch = bench::WindowWatch::connect(server->display());
    if (!watch) {
        return 1;
    }

    const std::string loadBefore = bench::loadAverage();
    Series bare{"bare dialog", options->bare, {}, 0};
    std::vector<Series> programs;
    // Named by file, or where two builds share a file name by their build
    // folders: build-before/qinghe-taxcalc.
    auto nameOf = [&options](const std::filesystem::path& path) {
        const auto sameName = std::ranges::count_if(options->programs,
            [&path](const std::string& other) { return std::filesystem::path(other).filename() == path.filename(); });
        return (sameName > 1 ? path.parent_path().parent_path().filename() / path.filename() : path.filename())
            .string();
    };
    for (const std::string& path : options->programs) {
        programs.push_back(Series{nameOf(path), path, {}, 0});
    }
    std::vector<Series*> all{&bare};
    for (Series& s : programs) {
        all.push_back(&s);
    }
    // The first start of each fills the page cache and the font caches; it is
    // not counted.
    for (Series* s : all) {
        if (!startOnce(s->path, server->display(), *watch, logs / "program.log")) {
            std::fprintf(stderr, "%s does not start; its output is in %s\n", s->path.c_str(), logs.c_str());
            return 1;
        }
    }
    for (int i = 0; i < options->starts; ++i) {
        for (Series* s : all) {
            if (const auto sample = startOnce(s->path, server->display(), *watch, logs / "program.log")) {
                s->samples.push_back(*sample);
            } else {
                ++s->failures;
            }
            std::this_thread::sleep_for(100ms);
        }
        if (::isatty(STDERR_FILENO)) {
            std::fprintf(stderr, "\r%d/%d", i + 1, options->starts);
        }
    }
    if (::isatty(STDERR_FILENO)) {
        std::fprintf(stderr, "\n");
    }
    report(programs, bare, *options, server->display(), processors);
    // Other work on the machine slows both alike but widens the spread.
    std::printf("Load average before: %s, after: %s\n", loadBefore.c_str(), bench::loadAverage().c_str());
    std::filesystem::remove_all(logs);
    return 0;
}
