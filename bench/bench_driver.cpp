// Measures the game against the smallest Qt program of the same kind, under one private Xvfb.
//
// Per run of either program: the time from exec to the first frame of its first screen on the display,
// and its peak resident memory 2 s after that frame. Per run of the game also the time from a click on
// "Click me to see Options" to the frame that shows the options, and on some runs the CPU time and the
// wake-ups while the title, question and farewell screens sit idle. The two programs run alternately,
// so that a change of load on the machine falls on both alike.
//
// Usage: tarvelo_bench GAME REFERENCE OUTPUT_DIR [RUNS [IDLE_RUNS [IDLE_SECONDS]]]
// Writes OUTPUT_DIR/samples.csv (every sample) and OUTPUT_DIR/results.csv (the summary), prints the table.

// Own
#include "tests/robustness/x_session.h"

// Standard
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;
using xsession::Clock;
using xsession::Rgb;

// Where the screens are told apart: outside every control of every screen.
constexpr int kProbeX = 900;
constexpr int kProbeY = 700;
// Inside lblPress, below its text: its light green shows once the title's labels are drawn.
constexpr int kPressX = 460;
constexpr int kPressY = 405;
// Centres of the controls at 96 dpi: their twips divided by 15.
constexpr int kOptionsX = 244;
constexpr int kOptionsY = 164;
constexpr int kQuitX = 596;
constexpr int kQuitY = 36;
// lblAnsOne, where the first option's text appears when the options are revealed.
constexpr int kOptionLeft = 56;
constexpr int kOptionTop = 216;
constexpr int kOptionWidth = 193;
constexpr int kOptionHeight = 49;

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
        const std::string status = xsession::readFile(base + "/status");
        if (status.empty())
            continue;   // it ended while the folder was read
        ThreadUsage u;
        std::istringstream sched(xsession::readFile(base + "/schedstat"));
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
    const std::string status = xsession::readFile("/proc/" + std::to_string(pid) + "/status");
    return std::atol(field(status, "VmHWM").c_str());
}

struct Sample {
    std::string program;   // "game" or "reference"
    int run;
    std::string figure;
    double value;
};

class Bench {
public:
    Bench(std::string game, std::string reference, std::string out)
        : m_game(std::move(game)), m_reference(std::move(reference)), m_out(std::move(out))
    {
        char tmp[] = "/tmp/tarvelo-bench.XXXXXX";
        if (mkdtemp(tmp) == nullptr)
            fail("cannot make a temporary folder");
        m_tmp = tmp;
        m_runtime = m_tmp + "/runtime";
        mkdir(m_runtime.c_str(), 0700);
        m_server.start("1024x768x24", m_tmp + "/xvfb.log");
        m_x.open(m_server.display());
        std::cout << "Xvfb on " << m_server.display() << ", screen " << m_x.width() << "x" << m_x.height()
                  << "; logs and first-run screenshots in " << m_tmp << "\n";
    }

    void gameRun(int run, bool idle, double idleSeconds, bool record)
    {
        waitForEmptyScreen();
        const auto start = Clock::now();
        const pid_t pid = launch(m_game, "game");
        const auto frame = m_x.waitUntil(
            [&] { return m_x.pixel(kProbeX, kProbeY) == xsession::kLightYellow &&
                         m_x.pixel(kPressX, kPressY) == xsession::kLightGreen; },
            20s, 1);
        if (frame == Clock::time_point{})
            fail("the game's title screen did not appear");
        if (record)
            add("game", run, "startup_ms", ms(frame - start));
        if (run == 0 && record)
            m_x.saveScreenshot(m_tmp + "/title.ppm");
        std::this_thread::sleep_until(frame + 2s);
        if (record)
            add("game", run, "peak_rss_mib", static_cast<double>(peakResidentKiB(pid)) / 1024.0);
        if (idle)
            measureIdle("game", run, "title", pid, idleSeconds);

        m_x.key("a");
        if (m_x.waitUntil([&] { return m_x.pixel(kProbeX, kProbeY) == xsession::kBlack; }, 10s, 1) ==
            Clock::time_point{})
            fail("a key on the title screen did not bring up the question screen");
        if (idle) {
            std::this_thread::sleep_for(1s);
            measureIdle("game", run, "question", pid, idleSeconds);
        }

        // The pointer rests on the button first, so that its hover repaint is over before the click.
        m_x.moveTo(kOptionsX, kOptionsY);
        std::this_thread::sleep_for(300ms);
        const std::vector<Rgb> before = optionArea();
        m_x.buttonDown();
        std::this_thread::sleep_for(30ms);
        m_x.buttonUp();
        const auto clicked = Clock::now();
        const auto shown = m_x.waitUntil([&] { return optionArea() != before; }, 5s, 1);
        if (shown == Clock::time_point{})
            fail("the options did not appear after a click on \"Click me to see Options\"");
        if (record)
            add("game", run, "click_to_frame_ms", ms(shown - clicked));
        if (run == 0 && record)
            m_x.saveScreenshot(m_tmp + "/options.ppm");

        m_x.click(kQuitX, kQuitY);
        if (m_x.waitUntil([&] { return m_x.pixel(kProbeX, kProbeY) == xsession::kLightPink; }, 12s, 5) ==
            Clock::time_point{})
            fail("the farewell screen did not appear after Quit");
        if (idle) {
            std::this_thread::sleep_for(1s);
            measureIdle("game", run, "farewell", pid, idleSeconds);
        }
        m_x.key("a");
        const int status = xsession::waitExit(pid, 10s);
        if (status != 0)
            fail("the game ended with status " + std::to_string(status) + " after a key on the farewell screen");
    }

    void referenceRun(int run, bool idle, double idleSeconds, bool record)
    {
        waitForEmptyScreen();
        const auto start = Clock::now();
        const pid_t pid = launch(m_reference, "reference");
        const auto frame =
            m_x.waitUntil([&] { return m_x.pixel(kProbeX, kProbeY) == xsession::kLightYellow; }, 20s, 1);
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
        const int status = xsession::waitExit(pid, 10s);
        if (status != 0)
            fail("the reference ended with status " + std::to_string(status));
    }

    const std::vector<Sample> &samples() const { return m_samples; }

private:
    pid_t launch(const std::string &program, const std::string &name)
    {
        return xsession::spawn({program},
                               {"DISPLAY=" + m_server.display(), "QT_QPA_PLATFORM=xcb", "XDG_RUNTIME_DIR=" + m_runtime,
                                "WAYLAND_DISPLAY="},
                               m_tmp + "/" + name + ".log");
    }

    // The last program's windows are gone before the next one starts.
    void waitForEmptyScreen()
    {
        const Rgb root = m_x.pixel(kProbeX, kProbeY);
        if (root == xsession::kLightYellow || root == xsession::kLightPink)
            if (m_x.waitUntil([&] { const Rgb p = m_x.pixel(kProbeX, kProbeY);
                                    return p != xsession::kLightYellow && p != xsession::kLightPink; },
                              5s) == Clock::time_point{})
                fail("a window of the last run is still on the screen");
        std::this_thread::sleep_for(300ms);
    }

    std::vector<Rgb> optionArea()
    {
        // Every third pixel of every third row: the text of an option is wider and taller than that.
        return m_x.area(kOptionLeft, kOptionTop, kOptionWidth, kOptionHeight, 3);
    }

    // Watches the process's threads without touching the process: /proc is read every 100 ms, so that
    // a thread that ends during the window is still counted up to its last reading. A thread's
    // voluntary context switches count the times it went to sleep, each of them ended by a wake-up;
    // a thread that starts or ends in the window adds the wake-up it ran in.
    void measureIdle(const std::string &program, int run, const std::string &screen, pid_t pid, double seconds)
    {
        const Threads first = threadsOf(pid);
        Threads last = first;
        const auto t0 = Clock::now();
        const auto end = t0 + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
        Threads now;
        while (Clock::now() < end) {
            std::this_thread::sleep_for(std::min<Clock::duration>(100ms, end - Clock::now()));
            now = threadsOf(pid);
            for (const auto &[tid, u] : now)
                last[tid] = u;
        }
        const double elapsed = std::chrono::duration<double>(Clock::now() - t0).count();
        double cpuNs = 0;
        long wakeups = 0;
        std::ostringstream detail;
        for (const auto &[tid, u] : last) {
            const auto was = first.find(tid);
            const bool started = was == first.end();
            const bool ended = now.find(tid) == now.end();
            const long woke = u.voluntary - (started ? 0 : was->second.voluntary) + (started ? 1 : 0) + (ended ? 1 : 0);
            cpuNs += u.cpuNs - (started ? 0 : was->second.cpuNs);
            wakeups += woke;
            detail << " [" << tid << " " << u.name << ": " << woke << (started ? ", started" : "")
                   << (ended ? ", ended" : "") << "]";
        }
        const double cpuPercent = cpuNs / 1e9 / elapsed * 100.0;
        const double rate = static_cast<double>(wakeups) / elapsed;
        add(program, run, screen + "_cpu_percent", cpuPercent);
        add(program, run, screen + "_wakeups_per_s", rate);
        std::cout << "  " << program << " run " << run << ", " << screen << " idle " << elapsed << " s: cpu "
                  << cpuPercent << " %, " << wakeups << " wake-ups (" << rate << "/s); by thread:" << detail.str()
                  << std::endl;
    }

    void add(const std::string &program, int run, const std::string &figure, double value)
    {
        m_samples.push_back({program, run, figure, value});
    }

    std::string m_game;
    std::string m_reference;
    std::string m_out;
    std::string m_tmp;
    std::string m_runtime;
    xsession::Server m_server;
    xsession::Client m_x;
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

const std::vector<Row> kRows = {
    {"startup_ms", "start-up to first frame", "ms", Row::RatioToReference, 1.10, "median"},
    {"peak_rss_mib", "peak resident memory", "MiB", Row::RatioToReference, 1.15, "median"},
    {"title_cpu_percent", "title screen idle CPU", "% of a core", Row::Below, 0.2, "max"},
    {"title_wakeups_per_s", "title screen idle wake-ups", "1/s", Row::AtMost, 4.0, "max"},
    {"question_cpu_percent", "question screen idle CPU", "% of a core", Row::None, 0, "max"},
    {"question_wakeups_per_s", "question screen idle wake-ups", "1/s", Row::AtMost, 0.0, "max"},
    {"farewell_cpu_percent", "farewell screen idle CPU", "% of a core", Row::None, 0, "max"},
    {"farewell_wakeups_per_s", "farewell screen idle wake-ups", "1/s", Row::AtMost, 0.0, "max"},
    {"click_to_frame_ms", "click to options frame", "ms", Row::AtMost, 16.7, "max"},
};

std::string num(double v, int precision = 3)
{
    if (std::isnan(v))
        return "";
    std::ostringstream s;
    s.precision(precision);
    s << std::fixed << v;
    return s.str();
}

void summarize(const std::vector<Sample> &samples, const std::string &out)
{
    std::ofstream raw(out + "/samples.csv");
    raw << "program,run,figure,value\n";
    for (const Sample &s : samples)
        raw << s.program << "," << s.run << "," << s.figure << "," << num(s.value, 4) << "\n";

    std::ofstream csv(out + "/results.csv");
    csv << "figure,label,unit,runs,game_min,game_median,game_max,reference_runs,reference_min,reference_median,"
           "reference_max,ratio,target,judged_on,judged_value,met\n";
    std::printf("\n%-30s %-12s %5s %10s %10s %10s | %5s %10s %10s %10s | %7s %-14s %s\n", "figure", "unit", "runs",
                "game min", "median", "max", "runs", "ref min", "median", "max", "ratio", "target", "met");
    for (const Row &row : kRows) {
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
        std::printf("%-30s %-12s %5d %10s %10s %10s | %5d %10s %10s %10s | %7s %-14s %s\n", row.label.c_str(),
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
    const int runs = argc > 4 ? std::atoi(argv[4]) : 20;
    const int idleRuns = argc > 5 ? std::atoi(argv[5]) : 3;
    const double idleSeconds = argc > 6 ? std::atof(argv[6]) : 30.0;
    try {
        Bench bench(argv[1], argv[2], argv[3]);
        // One unrecorded run of each first, so that every recorded run finds the font caches warm.
        bench.gameRun(0, false, 0, false);
        bench.referenceRun(0, false, 0, false);
        for (int run = 0; run < runs; ++run) {
            const bool idle = run < idleRuns;
            std::cout << "run " << run + 1 << " of " << runs << (idle ? " (with idle screens)" : "") << std::endl;
            bench.gameRun(run, idle, idleSeconds, true);
            bench.referenceRun(run, idle, idleSeconds, true);
        }
        summarize(bench.samples(), argv[3]);
    } catch (const std::exception &e) {
        std::cerr << "bench failed: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
