// Key press to first repaint, as a user feels it: this calculator beside the
// bare dialog (what any Qt Widgets window takes for a key) and xcalc and
// galculator where they are installed, on one Xvfb of our own with
// no window manager. Each program is started once; in every round each in
// turn gets the keyboard, is left still for 80 ms, gets a digit pressed by
// XTEST and is timed until DAMAGE reports its first drawing; a backspace,
// not timed, then brings its display back. Where valgrind is installed, a
// second figure counts the instructions per key under callgrind.
//
//   bench-keys [--rounds N] [--cpus LIST] [--program PATH] [--no-peers]
//              [--callgrind-keys N] [--callgrind-out DIR]
//
// --cpus pins the benchmark, Xvfb and the programs as bench-startup's does.
// --callgrind-keys 0 leaves callgrind out; --callgrind-out keeps its dumps
// (one per program, counting only the keys) for callgrind_annotate.
#include "StartupPaths.h"

#include "bench/callgrind_totals.h"
#include "bench/child_process.h"
#include "bench/cpu_list.h"
#include "bench/key_probe.h"
#include "bench/report_text.h"
#include "bench/sample_stats.h"
#include "bench/window_watch.h"
#include "bench/xvfb_server.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <sched.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

// Set by SIGINT, SIGTERM or SIGHUP: the loops end, and leaving main() stops
// the programs and Xvfb.
volatile std::sig_atomic_t gStop = 0;

void requestStop(int) { gStop = 1; }

// Without SA_RESTART, so that a wait in poll() ends at once.
void stopOnSignals()
{
    struct sigaction action{};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        ::sigaction(signal, &action, nullptr);
    }
}

using bench::Clock;
using Duration = bench::KeyProbe::Duration;
using namespace std::chrono_literals;

// Room for the four windows side by side (574, 574, 245 and 331 pixels wide).
constexpr const char* kScreen = "2048x768x24";
constexpr int kGap = 8;

// Natively; under callgrind everything runs some fifty times slower.
struct Pace {
    Clock::duration start;
    Clock::duration key;
    Duration still;
};
constexpr Pace kNative{10s, 2s, 80ms};
constexpr Pace kCallgrind{120s, 120s, 300ms};

// Every program here shows a digit when it is typed and takes it back on
// backspace, so each timed press changes what the window shows.
constexpr KeySym kDigit = XK_5;
constexpr KeySym kUndo = XK_BackSpace;
constexpr int kWarmUpPresses = 3;
constexpr Duration kFocusSettle = 250ms;

struct Program {
    std::string name;
    std::vector<std::string> argv;
    // For programs that put no _NET_WM_PID on their window, as Xt's do not.
    std::string wmClass;
    std::string package; // empty for this calculator
};

const Program kPeers[] = {
    {"xcalc", {"xcalc"}, "XCalc", "x11-apps"},
    {"galculator", {"galculator"}, "", "galculator"},
};

struct Options {
    int rounds = 160;
    std::optional<cpu_set_t> cpus;
    std::string program = bench::kProgramPath;
    bool peers = true;
    int callgrindKeys = 20;
    std::string callgrindOut;
};

std::optional<Options> parse(int argc, char* argv[])
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--rounds" && hasValue) {
            options.rounds = std::atoi(argv[++i]);
        } else if (arg == "--cpus" && hasValue) {
            if (!(options.cpus = bench::parseCpuList(argv[++i]))) {
                return std::nullopt;
            }
        } else if (arg == "--program" && hasValue) {
            options.program = argv[++i];
        } else if (arg == "--no-peers") {
            options.peers = false;
        } else if (arg == "--callgrind-keys" && hasValue) {
            options.callgrindKeys = std::atoi(argv[++i]);
        } else if (arg == "--callgrind-out" && hasValue) {
            options.callgrindOut = argv[++i];
        } else {
            return std::nullopt;
        }
    }
    if (options.rounds < 1 || options.callgrindKeys < 0) {
        return std::nullopt;
    }
    return options;
}

bool onPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path != nullptr ? path : "/usr/bin:/bin");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        if (!dir.empty() && ::access((std::filesystem::path(dir) / name).c_str(), X_OK) == 0) {
            return true;
        }
    }
    return false;
}

// This calculator, the bare dialog, then the peers that are installed; says
// which are not.
std::vector<Program> programs(const Options& options)
{
    std::vector<Program> list{{"qinghe-taxcalc", {options.program}, "", ""}};
    if (!options.peers) {
        return list;
    }
    // What any Qt Widgets window takes for a key: the floor under this one.
    list.push_back({"bare dialog", {bench::kBareDialogPath}, "", ""});
    for (const Program& peer : kPeers) {
        if (onPath(peer.argv.front())) {
            list.push_back(peer);
        } else {
            std::printf(
                "%s is not installed (package %s): no figures against it.\n", peer.name.c_str(), peer.package.c_str());
        }
    }
    return list;
}

// A program started on the server with its window found, watched and placed.
struct Running {
    Program program;
    bench::ChildProcess child;
    Window window;
};

std::vector<std::string> environmentFor(const std::string& display, const std::filesystem::path& home)
{
    // A configuration folder of our own: galculator writes its settings on
    // exit, and every run starts from the same defaults.
    return {"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb", "GDK_BACKEND=x11", "XDG_CONFIG_HOME=" + home.string()};
}

std::optional<Running> start(const Program& program, const std::vector<std::string>& argv,
    const std::vector<std::string>& environment, bench::WindowWatch& watch, bench::KeyProbe& probe, int x,
    const Pace& pace, const std::filesystem::path& log)
{
    auto child = bench::ChildProcess::start(argv, {.extraEnvironment = environment, .logPath = log, .inheritedFd = {}});
    if (!child) {
        return std::nullopt;
    }
    watch.follow(child->pid(), program.wmClass);
    const auto deadline = Clock::now() + pace.start;
    while (!watch.painted() && Clock::now() < deadline && child->running() && !gStop) {
        watch.waitForPaint(std::min(deadline, Clock::now() + 100ms));
    }
    const auto window = watch.window();
    if (!window || !watch.painted()) {
        std::fprintf(stderr, "%s: %s; its output is in %s\n", program.name.c_str(),
            !child->running() ? "ended before its window was drawn" : "no window drawn in time", log.c_str());
        return std::nullopt;
    }
    watch.follow(0);
    probe.watch(*window);
    probe.move(*window, x, 0);
    return Running{program, std::move(*child), *window};
}

// Starts every program once, side by side from the left edge.
std::optional<std::vector<Running>> startAll(const std::vector<Program>& list, const std::string& display,
    bench::WindowWatch& watch, bench::KeyProbe& probe, const std::filesystem::path& logs)
{
    std::vector<Running> running;
    int x = 0;
    for (const Program& program : list) {
        auto started = start(program, program.argv, environmentFor(display, logs), watch, probe, x, kNative,
            logs / (program.name + ".log"));
        if (!started) {
            return std::nullopt;
        }
        x += probe.width(started->window) + kGap;
        running.push_back(std::move(*started));
    }
    return running;
}

const char* describe(bench::KeyProbe::Press press)
{
    switch (press) {
    case bench::KeyProbe::Press::Settled: return "was drawn";
    case bench::KeyProbe::Press::DrewNothing: return "drew nothing in time";
    case bench::KeyProbe::Press::KeptDrawing: return "kept the window drawing";
    }
    return "";
}

struct Latencies {
    std::vector<std::optional<double>> perRound; // nothing where the press drew nothing in time
    int missed = 0;
};

// Interleaved rounds; the order turns each round, so that no program always
// follows the same one.
std::optional<std::vector<Latencies>> measure(std::vector<Running>& running, bench::KeyProbe& probe, int rounds)
{
    std::vector<Latencies> latencies(running.size());
    for (Running& r : running) {
        probe.focus(r.window);
        for (int i = 0; i < kWarmUpPresses; ++i) {
            probe.press(r.window, kDigit, kNative.still, Clock::now() + kNative.key);
            probe.press(r.window, kUndo, kNative.still, Clock::now() + kNative.key);
        }
    }
    for (int round = 0; round < rounds; ++round) {
        if (gStop) {
            return std::nullopt;
        }
        for (std::size_t k = 0; k < running.size(); ++k) {
            const std::size_t i = (k + static_cast<std::size_t>(round)) % running.size();
            Running& r = running[i];
            if (!r.child.running()) {
                std::fprintf(stderr, "%s ended during the rounds\n", r.program.name.c_str());
                return std::nullopt;
            }
            probe.focus(r.window);
            // A window that gets the keyboard may redraw for it; on a busy
            // machine that can come later than the 80 ms of stillness, and be
            // taken for the press's.
            probe.waitStill(r.window, kFocusSettle, Clock::now() + kNative.key);
            const auto latency = probe.timePress(r.window, kDigit, kNative.still, Clock::now() + kNative.key);
            latencies[i].perRound.push_back(latency ? std::optional(latency->count()) : std::nullopt);
            if (!latency) {
                ++latencies[i].missed;
            }
            if (const auto undone = probe.press(r.window, kUndo, kNative.still, Clock::now() + kNative.key);
                undone != bench::KeyProbe::Press::Settled && !gStop) {
                std::fprintf(
                    stderr, "%s: round %d: backspace %s\n", r.program.name.c_str(), round + 1, describe(undone));
            }
        }
        if (::isatty(STDERR_FILENO)) {
            std::fprintf(stderr, "\r%d/%d", round + 1, rounds);
        }
    }
    if (::isatty(STDERR_FILENO)) {
        std::fprintf(stderr, "\n");
    }
    return latencies;
}

void printRow(const std::string& name, const std::vector<std::string>& cells) { bench::printRow(name, cells, 22, 12); }

std::vector<std::string> spread(const std::vector<double>& samples, const char* format)
{
    return {std::to_string(samples.size()), bench::cell(bench::quantile(samples, 0.5), format),
        bench::cell(bench::quantile(samples, 0.25), format), bench::cell(bench::quantile(samples, 0.75), format),
        bench::cell(bench::minimum(samples), format), bench::cell(bench::quantile(samples, 0.9), format)};
}

std::vector<double> taken(const Latencies& l)
{
    std::vector<double> values;
    for (const auto& v : l.perRound) {
        if (v) {
            values.push_back(*v);
        }
    }
    return values;
}

void report(const std::vector<Running>& running, const std::vector<Latencies>& latencies, int rounds,
    const std::string& display, int processors)
{
    std::printf("\nKey press to first repaint on %s with Qt %s, Xvfb %s (%s), no window manager,\n"
                "%d processor(s); %d interleaved rounds of one press each, after %d unmeasured ones.\n"
                "From the XTEST press, sent once the window, given the keyboard, had drawn nothing for\n"
                "%.0f ms and then %.0f ms more, to the first DamageNotify on the window.\n\n",
        bench::systemName().c_str(), bench::kQtVersion, display.c_str(), kScreen, processors, rounds, kWarmUpPresses,
        kFocusSettle.count(), kNative.still.count());
    printRow("", {"presses", "median", "quartile 1", "quartile 3", "min", "90 %"});
    for (std::size_t i = 0; i < running.size(); ++i) {
        printRow(running[i].program.name, spread(taken(latencies[i]), "%.3f ms"));
    }
    for (std::size_t i = 1; i < running.size(); ++i) {
        const auto ratios = bench::pairedRatios(latencies.front().perRound, latencies[i].perRound);
        printRow("x " + running[i].program.name + " (paired)", spread(ratios, "x %.2f"));
    }
    for (std::size_t i = 0; i < running.size(); ++i) {
        if (latencies[i].missed > 0) {
            std::printf("%s: %d press(es) drew nothing within %.0f s and are left out.\n",
                running[i].program.name.c_str(), latencies[i].missed,
                std::chrono::duration<double>(kNative.key).count());
        }
    }
}

// Runs a short command to its end; false when it failed or hung.
bool runToEnd(const std::vector<std::string>& argv, const std::filesystem::path& log, Clock::duration timeout)
{
    auto child = bench::ChildProcess::start(argv, {.extraEnvironment = {}, .logPath = log, .inheritedFd = {}});
    if (!child) {
        return false;
    }
    const auto deadline = Clock::now() + timeout;
    while (child->running()) {
        if (Clock::now() > deadline || gStop) {
            std::fprintf(stderr, "%s did not end in time; see %s\n", argv.front().c_str(), log.c_str());
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

std::optional<std::string> readFile(const std::filesystem::path& path)
{
    std::ifstream in(path);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// One program under callgrind: started, left still, its counts zeroed
// through vgdb, `keys` digits each followed by a backspace, then its counts
// dumped. Returns the instructions per key, digits and backspaces alike.
std::optional<double> instructionsPerKey(const Program& program, const std::string& display, bench::WindowWatch& watch,
    bench::KeyProbe& probe, int keys, const std::filesystem::path& logs, const std::filesystem::path& out)
{
    const std::filesystem::path dumps = out / program.name;
    std::filesystem::remove_all(dumps);
    std::filesystem::create_directories(dumps);
    std::vector<std::string> argv{
        "valgrind", "--tool=callgrind", "--vgdb=yes", "--callgrind-out-file=" + (dumps / "callgrind.out").string()};
    argv.insert(argv.end(), program.argv.begin(), program.argv.end());
    auto running = start(program, argv, environmentFor(display, logs), watch, probe, 0, kCallgrind,
        logs / (program.name + ".callgrind.log"));
    if (!running) {
        return std::nullopt;
    }
    probe.focus(running->window);
    probe.parkPointer();
    if (!probe.waitStill(running->window, kCallgrind.still, Clock::now() + kCallgrind.start)) {
        std::fprintf(stderr, "%s kept drawing under callgrind\n", program.name.c_str());
        return std::nullopt;
    }
    // The first keys load fonts and glyphs, half a minute's work under
    // callgrind; they are not counted, as they are not timed natively.
    const auto pressKeys = [&](int count) {
        for (int i = 0; i < count; ++i) {
            for (const KeySym key : {kDigit, kUndo}) {
                const auto pressed = probe.press(running->window, key, kCallgrind.still, Clock::now() + kCallgrind.key);
                if (gStop) {
                    return false;
                }
                if (pressed != bench::KeyProbe::Press::Settled) {
                    std::fprintf(stderr, "%s under callgrind: a key %s\n", program.name.c_str(), describe(pressed));
                    return false;
                }
            }
        }
        return true;
    };
    const std::string pid = "--pid=" + std::to_string(running->child.pid());
    if (!pressKeys(kWarmUpPresses) || !runToEnd({"vgdb", pid, "zero"}, logs / "vgdb.log", 60s) || !pressKeys(keys)) {
        return std::nullopt;
    }
    if (!runToEnd({"vgdb", pid, "dump"}, logs / "vgdb.log", 60s)) {
        return std::nullopt;
    }
    running->child.stop();
    // The dump of the keys is the first one; the end of the program wrote
    // the base file itself.
    const auto text = readFile(dumps / "callgrind.out.1");
    const auto total = text ? bench::callgrindTotal(*text) : std::nullopt;
    if (!total) {
        std::fprintf(stderr, "%s: no callgrind dump in %s\n", program.name.c_str(), dumps.c_str());
        return std::nullopt;
    }
    return static_cast<double>(*total) / (2.0 * keys);
}

void reportInstructions(const std::vector<Program>& list, const std::string& display, bench::WindowWatch& watch,
    bench::KeyProbe& probe, const Options& options, const std::filesystem::path& logs)
{
    if (options.callgrindKeys == 0) {
        return;
    }
    if (!onPath("valgrind") || !onPath("vgdb")) {
        std::printf("\nvalgrind is not installed (package valgrind): no instructions per key.\n");
        return;
    }
    const std::filesystem::path out =
        options.callgrindOut.empty() ? logs / "callgrind" : std::filesystem::path(options.callgrindOut);
    std::printf("\nInstructions per key under callgrind: %d digits, each followed by a backspace, counted\n"
                "from a still window to the end of the last repaint, idle time between them included.\n"
                "valgrind computes x87 long double at double precision: the counts hold, the values\n"
                "shown under it need not.\n\n",
        options.callgrindKeys);
    for (const Program& program : list) {
        if (gStop) {
            return;
        }
        const auto perKey = instructionsPerKey(program, display, watch, probe, options.callgrindKeys, logs, out);
        printRow(program.name, {bench::cell(perKey, "%.0f")});
    }
    if (!options.callgrindOut.empty()) {
        std::printf("Dumps of the keys alone: %s/<program>/callgrind.out.1\n", out.c_str());
    }
}

// The exit status once something failed or a signal came; the programs and
// Xvfb are stopped on the way out of main().
int stopped(const std::filesystem::path& logs)
{
    if (!gStop) {
        return 1;
    }
    std::fprintf(stderr, "interrupted: stopping the programs and Xvfb\n");
    std::filesystem::remove_all(logs);
    return 130;
}

} // namespace

int main(int argc, char* argv[])
{
    const auto options = parse(argc, argv);
    if (!options) {
        std::fprintf(stderr,
            "usage: %s [--rounds N] [--cpus LIST] [--program PATH] [--no-peers] [--callgrind-keys N] "
            "[--callgrind-out DIR]\n",
            argv[0]);
        return 2;
    }
    if (options->cpus && ::sched_setaffinity(0, sizeof *options->cpus, &*options->cpus) != 0) {
        std::perror("sched_setaffinity");
        return 1;
    }
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    ::sched_getaffinity(0, sizeof allowed, &allowed);
    const int processors = CPU_COUNT(&allowed);

    stopOnSignals();
    const std::filesystem::path logs =
        std::filesystem::temp_directory_path() / ("bench-keys." + std::to_string(::getpid()));
    std::filesystem::create_directories(logs);
    const std::vector<Program> list = programs(*options);

    const std::string loadBefore = bench::loadAverage();
    {
        const auto server = bench::XvfbServer::start(logs / "xvfb.log", kScreen);
        if (!server) {
            return 1;
        }
        auto watch = bench::WindowWatch::connect(server->display());
        auto probe = bench::KeyProbe::connect(server->display());
        if (!watch || !probe) {
            return 1;
        }
        {
            auto running = startAll(list, server->display(), *watch, *probe, logs);
            if (!running) {
                return stopped(logs);
            }
            probe->parkPointer();
            const auto latencies = measure(*running, *probe, options->rounds);
            if (!latencies) {
                return stopped(logs);
            }
            report(*running, *latencies, options->rounds, server->display(), processors);
        }
        reportInstructions(list, server->display(), *watch, *probe, *options, logs);
    }
    if (gStop) {
        return stopped(logs);
    }
    std::printf("\nLoad average before: %s, after: %s\n", loadBefore.c_str(), bench::loadAverage().c_str());
    std::filesystem::remove_all(logs);
    return 0;
}
