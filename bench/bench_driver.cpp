// Measures the game against the smallest Qt program of the same kind, as players run them: inside a
// session bus, on displays of the sizes players own (1024x768, 1920x1080 and 3840x2160), each on a
// private Xvfb of that size.
//
// Per run of either program: the time from exec to its first whole frame on the display (the last
// corner painted, not only the first pixel: a large frame reaches the X server in several pieces),
// and its peak resident memory 2 s after that frame. Per run of the game also the time from a click
// on "Click me to see Options" to the frame that shows the options. The two programs run
// alternately, so that a change of load on the machine falls on both alike. Then, at 1024x768, the
// CPU time and the wake-ups while the title, question and farewell screens sit idle, once where no
// session bus runs and once inside one.
//
// Usage: tarvelo_bench GAME REFERENCE OUTPUT_DIR [RUNS [IDLE_RUNS [IDLE_SECONDS]]]
// RUNS is 40 pairs a size: a start varies by a third from run to run for either program, and with
// 20 pairs the ratio of the two medians still moved by about 0.05 between runs of the same build.
// As root, with perf (Debian's linux-perf) on the PATH: the idle wake-ups are read from the kernel's
// scheduler events. An idle window is IDLE_SECONDS rounded up to whole beats of the title's timers.
// TARVELO_BENCH_SIZES="1024x768 1920x1080" measures only those sizes.
// Writes OUTPUT_DIR/samples.csv (every sample) and OUTPUT_DIR/results.csv (the summary), prints the table.

// Own
#include "bench/wakings.h"
#include "driver/application.h"
#include "driver/process.h"
#include "driver/session.h"
#include "quiz/title_rules.h"
#include "screens/question_layout.h"
#include "screens/title_layout.h"

// Standard
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;
using driver::Clock;
using driver::Screen;
namespace question = screens::question;

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

[[noreturn]] void fail(const std::string &why)
{
    throw std::runtime_error(why);
}

// One thread's counters.
struct ThreadUsage {
    std::string name;
    double cpuNs = 0;
    long voluntary = 0;
    long involuntary = 0;
};
using Threads = std::map<std::string, ThreadUsage>;   // by thread id

std::string field(const std::string &status, const std::string &name)
{
    std::istringstream in(status);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(name + ":", 0) == 0)
            return line.substr(name.size() + 1);
    return {};
}

Threads threadsOf(pid_t pid)
{
    Threads threads;
    const std::string dir = "/proc/" + std::to_string(pid) + "/task";
    DIR *d = opendir(dir.c_str());
    if (d == nullptr)
        return threads;
    while (const dirent *e = readdir(d)) {
        const std::string tid = e->d_name;
        if (tid == "." || tid == "..")
            continue;
        const std::string base = dir + "/" + tid;
        const std::string status = driver::readFile(base + "/status");
        if (status.empty())
            continue;   // it ended while the folder was read
        ThreadUsage u;
        std::istringstream sched(driver::readFile(base + "/schedstat"));
        sched >> u.cpuNs;
        u.voluntary = std::atol(field(status, "voluntary_ctxt_switches").c_str());
        u.involuntary = std::atol(field(status, "nonvoluntary_ctxt_switches").c_str());
        u.name = field(status, "Name");
        u.name.erase(0, u.name.find_first_not_of(" \t"));
        threads[tid] = u;
    }
    closedir(d);
    return threads;
}

long peakResidentKiB(pid_t pid)
{
    const std::string status = driver::readFile("/proc/" + std::to_string(pid) + "/status");
    return std::atol(field(status, "VmHWM").c_str());
}

// Records which thread wakes which, machine-wide, through the kernel's sched_waking tracepoint
// (perf record, as root). A wake-up of the program is a thread of it woken from outside: by a timer,
// by the X server's reply, by another process. One of its threads waking another, as Qt's X reader
// thread hands the main thread a reply, or a lock passing between them, happens inside a wake-up
// already counted. perf's clock is CLOCK_MONOTONIC, the one steady_clock reads.
class WakeTrace {
public:
    explicit WakeTrace(const std::string &folder)
        : m_file(folder + "/wakings.data"),
          m_perf({"perf", "record", "-q", "-a", "-k", "CLOCK_MONOTONIC", "-e", "sched:sched_waking", "-o", m_file},
                 driver::composeEnvironment({}), folder + "/perf.log")
    {
        // perf opens its tracepoints on every core before it records; the window starts after this.
        std::this_thread::sleep_for(700ms);
    }
    WakeTrace(const WakeTrace &) = delete;
    WakeTrace &operator=(const WakeTrace &) = delete;
    ~WakeTrace() { std::remove(m_file.c_str()); }

    // The wakings of `threads` between `from` and `to` whose waker is none of them.
    long wokenFromOutside(const std::set<long> &threads, Clock::time_point from, Clock::time_point to)
    {
        // Asked to end, perf writes out what it recorded and ends by the same signal.
        const int status = m_perf.terminate(5s);
        if (status != 0 && status != 128 + SIGTERM)
            fail("perf could not record the kernel's sched_waking events (it needs Debian's linux-perf and root): " +
                 m_perf.output());
        const std::string command = "perf script -i '" + m_file + "' -F tid,time,trace 2>/dev/null";
        FILE *out = popen(command.c_str(), "r");
        if (out == nullptr)
            fail("perf script did not start");
        std::string lines;
        char buffer[4096];
        while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, out))
            lines.append(buffer, n);
        if (pclose(out) != 0)
            fail("perf script could not read " + m_file);
        const auto seconds = [](Clock::time_point t) { return std::chrono::duration<double>(t.time_since_epoch()).count(); };
        std::istringstream in(lines);
        return bench::wokenFromOutside(in, threads, seconds(from), seconds(to));
    }

private:
    std::string m_file;
    driver::Process m_perf;
};

struct Sample {
    std::string program;   // "game" or "reference"
    int run;
    std::string figure;    // NAME@SETTING: the display size, or whether a session bus runs
    double value;
};

std::string sizeName(QSize size) { return std::to_string(size.width()) + "x" + std::to_string(size.height()); }

class Bench {
public:
    // `setting` names what the samples were measured under, e.g. "1920x1080" or "no bus".
    Bench(std::string game, std::string reference, QSize size, bool sessionBus, std::string setting)
        : m_game(std::move(game)), m_reference(std::move(reference)), m_setting(std::move(setting)),
          m_session({.display = size, .name = "bench", .sessionBus = sessionBus, .accessibilityBus = sessionBus}),
          m_x(m_session.display())
    {
        // Inside lblPress, below its text: its light green shows once the title's labels are drawn.
        m_press = m_session.placeOf(screens::title::kPress.geometry).bottomRight() - QPoint(4, 4);
        m_pressColour = screens::toQColor(quiz::TitleControls{}.press.back);
        m_lastCorner = QPoint(size.width() - 1, size.height() - 1);
        m_titleColour = screens::toQColor(screens::title::kBackground);
        // Where a desktop runs a session bus, its programs are told its address.
        if (sessionBus)
            m_environment.push_back("DBUS_SESSION_BUS_ADDRESS=" + m_session.busAddress());
        m_session.keep();
        std::cout << "Xvfb of " << sizeName(size) << (sessionBus ? ", inside a session bus" : ", no session bus")
                  << "; logs and first-run screenshots in " << m_session.folder() << std::endl;
    }

    void gameRun(int run, bool idle, double idleSeconds, bool record)
    {
        waitForEmptyScreen();
        const auto start = Clock::now();
        driver::Process &game = m_session.launch({m_game}, m_environment, false, "game");
        const pid_t pid = game.pid();
        const auto frame = m_x.waitUntil(
            [&] { return wholeFrame() && m_x.pixel(m_press) == m_pressColour; }, 20s, 1ms);
        if (frame == Clock::time_point{})
            fail("the game's title screen did not appear");
        if (record)
            add("game", run, "startup_ms", ms(frame - start));
        if (run == 0 && record)
            m_session.shot("title");
        std::this_thread::sleep_until(frame + 2s);
        if (record)
            add("game", run, "peak_rss_mib", static_cast<double>(peakResidentKiB(pid)) / 1024.0);
        if (idle)
            measureIdle("game", run, "title", pid, idleSeconds);

        m_x.key("a");
        if (m_x.waitUntil([&] { return shown(Screen::Question); }, 10s, 1ms) == Clock::time_point{})
            fail("a key on the title screen did not bring up the question screen");
        if (idle) {
            std::this_thread::sleep_for(1s);
            measureIdle("game", run, "question", pid, idleSeconds);
        }

        // The pointer rests on the button first, so that its hover repaint is over before the click.
        m_x.moveTo(m_session.centreOf(question::kShowOptions.control.geometry));
        std::this_thread::sleep_for(300ms);
        const QImage before = optionArea();
        m_x.button(1, true);
        std::this_thread::sleep_for(30ms);
        m_x.button(1, false);
        const auto clicked = Clock::now();
        const auto options = m_x.waitUntil([&] { return optionArea() != before; }, 5s, 1ms);
        if (options == Clock::time_point{})
            fail("the options did not appear after a click on \"Click me to see Options\"");
        if (record)
            add("game", run, "click_to_frame_ms", ms(options - clicked));
        if (run == 0 && record)
            m_session.shot("options");

        m_session.click(question::kQuit.control.geometry);
        if (m_x.waitUntil([&] { return shown(Screen::Farewell); }, 12s, 5ms) == Clock::time_point{})
            fail("the farewell screen did not appear after Quit");
        if (idle) {
            std::this_thread::sleep_for(1s);
            measureIdle("game", run, "farewell", pid, idleSeconds);
        }
        m_x.key("a");
        const int status = game.waitExit(10s);
        if (status != 0)
            fail("the game ended with status " + std::to_string(status) + " after a key on the farewell screen");
    }

    void referenceRun(int run, bool idle, double idleSeconds, bool record)
    {
        waitForEmptyScreen();
        const auto start = Clock::now();
        driver::Process &reference = m_session.launch({m_reference}, m_environment, false, "reference");
        const pid_t pid = reference.pid();
        // The reference's window has the title screen's colour.
        const auto frame = m_x.waitUntil([&] { return wholeFrame(); }, 20s, 1ms);
        if (frame == Clock::time_point{})
            fail("the reference window did not appear");
        if (record)
            add("reference", run, "startup_ms", ms(frame - start));
        std::this_thread::sleep_until(frame + 2s);
        if (record)
            add("reference", run, "peak_rss_mib", static_cast<double>(peakResidentKiB(pid)) / 1024.0);
        if (idle)
            measureIdle("reference", run, "title", pid, idleSeconds);
        m_x.key("a");
        const int status = reference.waitExit(10s);
        if (status != 0)
            fail("the reference ended with status " + std::to_string(status));
    }

    const std::vector<Sample> &samples() const { return m_samples; }

private:
    bool shown(Screen screen) { return m_session.screenShown() == screen; }
    // The title's colour from the probe point near the top to the display's last pixel.
    bool wholeFrame() { return shown(Screen::Title) && m_x.pixel(m_lastCorner) == m_titleColour; }

    // The last program's windows are gone before the next one starts: the empty root window is as
    // black as the question screen, but shows neither the title's nor the farewell's colour.
    void waitForEmptyScreen()
    {
        if (m_x.waitUntil([&] { return !shown(Screen::Title) && !shown(Screen::Farewell); }, 5s) ==
            Clock::time_point{})
            fail("a window of the last run is still on the screen");
        std::this_thread::sleep_for(300ms);
    }

    // lblAnsOne, where the first option's text appears when the options are revealed; one request.
    QImage optionArea() { return m_x.grab(m_session.placeOf(question::kOptions[0].geometry)); }

    // Watches the process's threads without touching the process: /proc is read every 100 ms, so that
    // a thread that ends during the window is still counted up to its last reading. The wake-ups are
    // the wakings of its threads from outside it (WakeTrace). Shown beside them, its threads'
    // voluntary context switches: every time one went to sleep, a handing on between its own threads
    // included; a thread that starts or ends in the window adds the one it ran in.
    //
    // The window holds whole beats of the title's timers and opens between two of their ticks: a
    // window of any other length, or one opening in the middle of a tick's work, counts a tick more
    // or less than the screen's steady rate, by where it happened to fall.
    void measureIdle(const std::string &program, int run, const std::string &screen, pid_t pid, double seconds)
    {
        const auto beat = std::chrono::milliseconds(bench::titleBeatMs());
        const long beats = bench::wholeBeats(seconds, beat.count());
        WakeTrace trace(m_session.folder());
        const Threads first = betweenTicks(pid, beat);
        Threads last = first;
        const auto t0 = Clock::now();
        const auto end = t0 + beats * beat;
        Threads now;
        while (Clock::now() < end) {
            std::this_thread::sleep_for(std::min<Clock::duration>(100ms, end - Clock::now()));
            now = threadsOf(pid);
            for (const auto &[tid, u] : now)
                last[tid] = u;
        }
        const double elapsed = std::chrono::duration<double>(Clock::now() - t0).count();
        double cpuNs = 0;
        long switches = 0;
        std::ostringstream detail;
        for (const auto &[tid, u] : last) {
            const auto was = first.find(tid);
            const bool started = was == first.end();
            const bool ended = now.find(tid) == now.end();
            const long woke = u.voluntary - (started ? 0 : was->second.voluntary) + (started ? 1 : 0) + (ended ? 1 : 0);
            cpuNs += u.cpuNs - (started ? 0 : was->second.cpuNs);
            switches += woke;
            detail << " [" << tid << " " << u.name << ": " << woke << (started ? ", started" : "")
                   << (ended ? ", ended" : "") << "]";
        }
        std::set<long> threads;
        for (const auto &entry : last)
            threads.insert(std::atol(entry.first.c_str()));
        const long woken = trace.wokenFromOutside(threads, t0, end);
        const double cpuPercent = cpuNs / 1e9 / elapsed * 100.0;
        const double switchRate = static_cast<double>(switches) / elapsed;
        const double wakeRate = static_cast<double>(woken) / elapsed;
        add(program, run, screen + "_cpu_percent", cpuPercent);
        add(program, run, screen + "_wakeups_per_s", wakeRate);
        add(program, run, screen + "_switches_per_s", switchRate);
        std::cout << "  " << program << " run " << run << ", " << screen << " idle " << elapsed << " s: cpu "
                  << cpuPercent << " %, " << woken << " wake-ups from outside (" << wakeRate << "/s), " << switches
                  << " context switches (" << switchRate << "/s); switches by thread:" << detail.str() << std::endl;
    }

    // Waits, for at most one beat, until one of the process's threads wakes, then until that tick's
    // work is surely over (a tick's repaint takes a few milliseconds; the title's ticks are at least
    // 500 ms apart), and returns the threads' counters at that moment. A screen that never wakes is
    // measured from the end of that beat.
    static Threads betweenTicks(pid_t pid, std::chrono::milliseconds beat)
    {
        const auto woken = [](const Threads &before, const Threads &after) {
            for (const auto &[tid, u] : after) {
                const auto was = before.find(tid);
                if (was == before.end() || u.voluntary != was->second.voluntary)
                    return true;
            }
            return false;
        };
        const Threads start = threadsOf(pid);
        const auto deadline = Clock::now() + beat;
        while (Clock::now() < deadline) {
            std::this_thread::sleep_for(2ms);
            if (woken(start, threadsOf(pid))) {
                std::this_thread::sleep_for(100ms);
                break;
            }
        }
        return threadsOf(pid);
    }

    void add(const std::string &program, int run, const std::string &figure, double value)
    {
        m_samples.push_back({program, run, figure + "@" + m_setting, value});
    }

    std::string m_game;
    std::string m_reference;
    std::string m_setting;
    driver::Session m_session;
    driver::Display &m_x;
    QPoint m_press;
    QColor m_pressColour;
    QPoint m_lastCorner;
    QColor m_titleColour;
    std::vector<std::string> m_environment;
    std::vector<Sample> m_samples;
};

// --- Summary -----------------------------------------------------------------------------------------

struct Stats {
    int count = 0;
    double min = NAN;
    double median = NAN;
    double max = NAN;
};

Stats statsOf(const std::vector<Sample> &samples, const std::string &program, const std::string &figure)
{
    std::vector<double> v;
    for (const Sample &s : samples)
        if (s.program == program && s.figure == figure)
            v.push_back(s.value);
    Stats st;
    if (v.empty())
        return st;
    std::sort(v.begin(), v.end());
    st.count = static_cast<int>(v.size());
    st.min = v.front();
    st.max = v.back();
    const std::size_t n = v.size();
    st.median = n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    return st;
}

// A figure of the table and the target it is held to.
struct Row {
    std::string figure;
    std::string label;
    std::string unit;
    enum Kind { RatioToReference, AtMost, Below, None } kind;
    double limit;
    std::string judgedOn;   // "median" or "max"
};

// The figures of every size measured, then the idle figures with and without a session bus. Labels
// hold no comma: results.csv is read by splitting at commas.
std::vector<Row> rowsFor(const std::vector<std::string> &sizes)
{
    std::vector<Row> rows;
    for (const std::string &size : sizes) {
        rows.push_back({"startup_ms@" + size, "start-up to whole frame at " + size, "ms", Row::RatioToReference, 1.10, "median"});
        rows.push_back({"peak_rss_mib@" + size, "peak resident memory at " + size, "MiB", Row::RatioToReference, 1.10, "median"});
        rows.push_back({"click_to_frame_ms@" + size, "click to options frame at " + size, "ms", Row::AtMost, 16.7, "max"});
    }
    for (const std::string bus : {"no bus", "session bus"}) {
        rows.push_back({"title_cpu_percent@" + bus, "title idle CPU with " + bus, "% of a core", Row::Below, 0.2, "max"});
        rows.push_back({"title_wakeups_per_s@" + bus, "title idle wake-ups with " + bus, "1/s", Row::AtMost, 4.0, "max"});
        rows.push_back({"title_switches_per_s@" + bus, "title idle switches with " + bus, "1/s", Row::None, 0, "max"});
        rows.push_back({"question_cpu_percent@" + bus, "question idle CPU with " + bus, "% of a core", Row::None, 0, "max"});
        rows.push_back({"question_wakeups_per_s@" + bus, "question idle wake-ups with " + bus, "1/s", Row::AtMost, 0.0, "max"});
        rows.push_back({"farewell_cpu_percent@" + bus, "farewell idle CPU with " + bus, "% of a core", Row::None, 0, "max"});
        rows.push_back({"farewell_wakeups_per_s@" + bus, "farewell idle wake-ups with " + bus, "1/s", Row::AtMost, 0.0, "max"});
    }
    return rows;
}

std::string num(double v, int precision = 3)
{
    if (std::isnan(v))
        return "";
    std::ostringstream s;
    s.precision(precision);
    s << std::fixed << v;
    return s.str();
}

void summarize(const std::vector<Sample> &samples, const std::vector<Row> &rows, const std::string &out)
{
    std::ofstream raw(out + "/samples.csv");
    raw << "program,run,figure,value\n";
    for (const Sample &s : samples)
        raw << s.program << "," << s.run << "," << s.figure << "," << num(s.value, 4) << "\n";

    std::ofstream csv(out + "/results.csv");
    csv << "figure,label,unit,runs,game_min,game_median,game_max,reference_runs,reference_min,reference_median,"
           "reference_max,ratio,target,judged_on,judged_value,met\n";
    std::printf("\n%-40s %-12s %5s %10s %10s %10s | %5s %10s %10s %10s | %7s %-14s %s\n", "figure", "unit", "runs",
                "game min", "median", "max", "runs", "ref min", "median", "max", "ratio", "target", "met");
    for (const Row &row : rows) {
        const Stats g = statsOf(samples, "game", row.figure);
        const Stats r = statsOf(samples, "reference", row.figure);
        const double ratio = (r.count > 0 && r.median > 0) ? g.median / r.median : NAN;
        std::string target;
        double judged = NAN;
        std::string met;
        switch (row.kind) {
        case Row::RatioToReference:
            target = "ratio <= " + num(row.limit, 2);
            judged = ratio;
            met = std::isnan(judged) ? "" : (judged <= row.limit ? "met" : "not met");
            break;
        case Row::AtMost:
        case Row::Below:
            target = (row.kind == Row::AtMost ? "<= " : "< ") + num(row.limit, row.limit == 0 ? 0 : 1);
            judged = row.judgedOn == "max" ? g.max : g.median;
            if (!std::isnan(judged))
                met = (row.kind == Row::AtMost ? judged <= row.limit : judged < row.limit) ? "met" : "not met";
            break;
        case Row::None:
            break;
        }
        csv << row.figure << "," << row.label << "," << row.unit << "," << g.count << "," << num(g.min) << ","
            << num(g.median) << "," << num(g.max) << "," << r.count << "," << num(r.min) << "," << num(r.median) << ","
            << num(r.max) << "," << num(ratio) << "," << target << "," << (row.kind == Row::None ? "" : row.judgedOn)
            << "," << num(judged) << "," << met << "\n";
        std::printf("%-40s %-12s %5d %10s %10s %10s | %5d %10s %10s %10s | %7s %-14s %s\n", row.label.c_str(),
                    row.unit.c_str(), g.count, num(g.min).c_str(), num(g.median).c_str(), num(g.max).c_str(), r.count,
                    num(r.min).c_str(), num(r.median).c_str(), num(r.max).c_str(), num(ratio).c_str(),
                    target.c_str(), met.c_str());
    }
    std::printf("\nTargets are judged on the column named in results.csv (median for the ratios, the worst run "
                "otherwise).\n");
}

}  // namespace

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::cerr << "usage: " << argv[0] << " GAME REFERENCE OUTPUT_DIR [RUNS [IDLE_RUNS [IDLE_SECONDS]]]\n";
        return 2;
    }
    const int runs = argc > 4 ? std::atoi(argv[4]) : 40;
    const int idleRuns = argc > 5 ? std::atoi(argv[5]) : 3;
    const double idleSeconds = argc > 6 ? std::atof(argv[6]) : 30.0;
    driver::Application application(argc, argv);
    std::vector<std::string> sizes{"1024x768", "1920x1080", "3840x2160"};
    if (const char *only = std::getenv("TARVELO_BENCH_SIZES")) {
        std::istringstream in(only);
        sizes.assign(std::istream_iterator<std::string>(in), std::istream_iterator<std::string>());
    }
    try {
        std::vector<Sample> samples;
        auto keep = [&samples](const Bench &bench) {
            samples.insert(samples.end(), bench.samples().begin(), bench.samples().end());
        };
        for (const std::string &size : sizes) {
            const QSize display(std::atoi(size.c_str()), std::atoi(size.c_str() + size.find('x') + 1));
            Bench bench(argv[1], argv[2], display, true, size);
            // One unrecorded run of each first, so that every recorded run finds the font caches warm.
            bench.gameRun(0, false, 0, false);
            bench.referenceRun(0, false, 0, false);
            for (int run = 0; run < runs; ++run) {
                std::cout << size << ": run " << run + 1 << " of " << runs << std::endl;
                bench.gameRun(run, false, 0, true);
                bench.referenceRun(run, false, 0, true);
            }
            keep(bench);
        }
        for (const bool bus : {false, true}) {
            Bench bench(argv[1], argv[2], QSize(1024, 768), bus, bus ? "session bus" : "no bus");
            bench.gameRun(0, false, 0, false);
            for (int run = 0; run < idleRuns; ++run) {
                std::cout << (bus ? "session bus" : "no bus") << ": idle run " << run + 1 << " of " << idleRuns << std::endl;
                bench.gameRun(run, true, idleSeconds, false);
                bench.referenceRun(run, true, idleSeconds, false);
            }
            keep(bench);
        }
        summarize(samples, rowsFor(sizes), argv[3]);
    } catch (const std::exception &e) {
        std::cerr << "bench failed: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
