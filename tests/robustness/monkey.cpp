// A monkey at the keyboard and mouse of the sanitizer build of the game, under a private Xvfb.
//
// Run after run, each with its own logged seed, it clicks anywhere on the screen and on the controls,
// presses character and non-character keys and now and then closes a window the way a window manager
// does (WM_DELETE_WINDOW). Before every action it looks at the screen to know where the game stands,
// so it knows what the action may do: the program may end only by Esc on the title screen, by a
// character key on the farewell screen or by a window close, then with status 0 and without a word
// from AddressSanitizer, LeakSanitizer or UndefinedBehaviorSanitizer. Anything else fails the run.
// A run still going when its time is up is ended by the key sequence its screen calls for.
//
// Usage: tarvelo_monkey GAME LSAN_SUPPRESSIONS [TOTAL_SECONDS [SEED]]
// TARVELO_MONKEY_SECONDS and TARVELO_MONKEY_SEED override the last two; a failed run's log, action
// list and screenshot stay in the folder printed at the start.

// Own
#include "driver/application.h"
#include "driver/session.h"
#include "screens/question_layout.h"
#include "tests/quiz/game_model.h"

// Standard
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;
using driver::Clock;
namespace question = screens::question;

// The end timer's six seconds, less a margin for the repaint that shows a game has ended.
constexpr auto kFarewellMayCome = 4500ms;

struct Hotspot {
    QPoint centre;
    const char *name;
};

// The question screen's controls, where a player aims.
std::vector<Hotspot> hotspots()
{
    std::vector<Hotspot> all = {
        {driver::centreOf(question::kShowOptions.control.geometry), "options"},
        {driver::centreOf(question::kQuit.control.geometry), "quit"},
        {driver::centreOf(question::kLifeline.control.geometry), "50-50"},
        {driver::centreOf(question::kNext.control.geometry), "next"},
    };
    static constexpr const char *kBoxNames[] = {"Check1", "Check2", "Check3", "Check4"};
    for (std::size_t i = 0; i < question::kBoxes.size(); ++i)
        all.push_back({driver::centreOf(question::kBoxes[i].geometry), kBoxNames[i]});
    return all;
}

const std::vector<std::string> kCharacterKeys = {
    "a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o", "p", "q", "r", "s", "t", "u",
    "v", "w", "x", "y", "z", "A", "M", "Z", "0", "1", "5", "9", "space", "Return", "BackSpace", "exclam", "at",
    "numbersign", "dollar", "percent", "comma", "period", "slash", "minus", "equal", "semicolon", "apostrophe",
    "bracketleft", "bracketright", "backslash", "grave", "question",
};
const std::vector<std::string> kNonCharacterKeys = {
    "Left", "Right", "Up", "Down", "F1", "F2", "F3", "F5", "F8", "F10", "F12", "Shift_L", "Shift_R", "Control_L",
    "Control_R", "Alt_L", "Home", "End", "Prior", "Next", "Insert",
};

using driver::Screen;
// What a look at the display finds: one of the game's screens, or none of them (a screen half
// drawn, or no window of the game).
using Seen = std::optional<Screen>;
const char *name(Seen s) { return s ? driver::nameOf(*s) : "other"; }

enum class Expect { Stays, Exits, OpensQuestion };

struct Outcome {
    bool passed = true;
    std::string why;
    std::string endedBy;
    std::string log;   // the game's output, of a failed run
    int actions = 0;
};

class Monkey {
public:
    Monkey(std::string game, std::string suppressions)
        : m_program(std::move(game)), m_suppressions(std::move(suppressions)), m_session({.name = "monkey"}),
          m_x(m_session.display()), m_hotspots(hotspots())
    {
        // The face of "Quit" below its caption: button grey while the button is there, the
        // screen's black once a quit or a win has hidden it.
        m_quitFace = m_session.placeOf(question::kQuit.control.geometry).bottomLeft() + QPoint(4, -3);
        m_sadFace = QImage(screens::toQString(question::kSadFacePicture)).convertToFormat(QImage::Format_RGB32);
    }

    const std::string &folder() const { return m_session.folder(); }
    // Leaves the logs, action lists and screenshots of the failed runs for a look.
    void keepFolder() { m_session.keep(); }

    Outcome play(int run, std::uint64_t seed, std::chrono::duration<double> slice)
    {
        m_rng.seed(seed);
        m_run = run;
        m_actionLog.str({});
        m_lastNotEnded = Clock::now();
        m_endSeen = false;
        Outcome out;

        // Each run has its own temper: how readily it gives up on the title screen or closes a window.
        m_escWeight = pick<double>({0.02, 0.1, 0.4});
        m_closeWeight = pick<double>({0.0, 0.0, 0.03, 0.15});
        m_gap = pick<int>({5, 40, 150});
        log("temper: esc " + std::to_string(m_escWeight) + ", close " + std::to_string(m_closeWeight) +
            ", pause up to " + std::to_string(m_gap) + " ms");

        m_game = &m_session.launch({m_program}, environment(), false, "run" + std::to_string(m_run));
        if (m_x.waitUntil([&] { return screen() == Screen::Title || !running(); }, 60s, 20ms) ==
                Clock::time_point{} ||
            !running())
            return failed(out, "the title screen did not appear");

        const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(slice);
        while (Clock::now() < end) {
            if (!running())
                return failed(out, "the game ended after an action that must not end it");
            const Seen seen = settledScreen();
            if (!seen)
                return failed(out, running() ? "the game runs on with none of its three screens shown"
                                             : "the game ended after an action that must not end it");
            if (*seen == Screen::Question)
                trackEnd();
            const Expect expect = act(*seen);
            ++out.actions;
            if (expect == Expect::Exits)
                return finished(out, m_lastAction);
            if (expect == Expect::OpensQuestion) {
                if (m_x.waitUntil([&] { return !running() || settledScreen() == Screen::Question; },
                                  15s, 10ms) == Clock::time_point{})
                    return failed(out, "a character key on the title screen did not open the question screen");
                if (!running())
                    return failed(out, "a character key other than Esc on the title screen ended the game");
                m_lastNotEnded = Clock::now();
                continue;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(uniform(0, m_gap)));
        }
        return finishRun(out);
    }

private:
    template <typename T>
    T pick(std::initializer_list<T> choices)
    {
        std::vector<T> v(choices);
        return v[static_cast<std::size_t>(uniform(0, static_cast<int>(v.size()) - 1))];
    }
    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
    double chance() { return std::uniform_real_distribution<double>(0, 1)(m_rng); }

    bool running() { return m_game != nullptr && m_game->running(); }

    // The sanitizers' settings, put into the environment the session composes.
    std::vector<std::string> environment() const
    {
        return {"ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=0:exitcode=86",
                "LSAN_OPTIONS=suppressions=" + m_suppressions + ":print_suppressions=0:exitcode=87",
                "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"};
    }
    Seen screen() { return m_session.screenShown(); }

    // A screen being replaced may be seen half-way for a moment. The root window of an empty
    // display is black too: a screen counts only while a window of the game is mapped.
    Seen settledScreen()
    {
        Seen s = screen();
        const auto deadline = Clock::now() + 3s;
        while (!s && Clock::now() < deadline) {
            std::this_thread::sleep_for(20ms);
            s = screen();
        }
        bool anyShown = false;
        for (const auto &w : m_x.windowsOf(m_game->pid()))
            anyShown = anyShown || w.viewable;
        return anyShown ? s : std::nullopt;
    }

    enum class End { Shown, NotShown, Unsure };

    // Reads the end of a game off the question screen: a quit or a win hides "Quit", a wrong answer
    // shows the sad face. The farewell screen may be drawn over it between two reads, so the answer
    // counts only if the screen is still the question screen after them.
    End gameEnd()
    {
        const QColor face = m_x.pixel(m_quitFace);
        const bool sad = m_x.grab(m_session.placeOf(question::kSadFace)) == m_sadFace;
        if (screen() != Screen::Question)
            return End::Unsure;
        const bool quitHidden = face.red() + face.green() + face.blue() < 60;
        const bool quitShown = face.red() > 150 && std::abs(face.red() - face.green()) < 16 &&
                               std::abs(face.green() - face.blue()) < 16;
        if (quitHidden || sad)
            return End::Shown;
        return quitShown ? End::NotShown : End::Unsure;
    }
    bool gameShowsItsEnd() { return gameEnd() == End::Shown; }

    // A game that has ended brings up the farewell screen six seconds later, by itself. From a little
    // before that moment no character key is sent until the farewell screen is seen, because the key
    // would end the program or not depending on which screen had it first.
    void trackEnd()
    {
        switch (gameEnd()) {
        case End::Shown:
            if (!m_endSeen)
                log("the game shows its end");
            m_endSeen = true;
            break;
        case End::NotShown:
            // A game that has ended never comes back: once seen, the end stands until the farewell.
            if (!m_endSeen)
                m_lastNotEnded = Clock::now();
            break;
        case End::Unsure:
            break;
        }
    }
    bool farewellMayCome() const { return m_endSeen && Clock::now() > m_lastNotEnded + kFarewellMayCome; }

    void log(const std::string &line)
    {
        const auto t = std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
        m_actionLog.precision(3);
        m_actionLog << std::fixed << t << " " << line << "\n";
    }

    void sendKey(const std::string &key, Screen s)
    {
        m_lastAction = "key " + key + " on the " + name(s) + " screen";
        log(m_lastAction);
        m_x.key(key);
    }

    void sendClick(QPoint at, int button, Screen s, const char *what = nullptr)
    {
        m_lastAction = "click " + std::to_string(button) + " at " + std::to_string(at.x()) + "," +
                       std::to_string(at.y()) + (what != nullptr ? std::string(" (") + what + ")" : std::string()) +
                       " on the " + name(s) + " screen";
        log(m_lastAction);
        m_x.click(at, button);
    }

    bool sendClose(Screen s)
    {
        std::vector<driver::WindowInfo> shown;
        for (const auto &w : m_x.windowsOf(m_game->pid()))
            if (w.viewable)
                shown.push_back(w);
        if (shown.empty())
            return false;
        const auto &w = shown[static_cast<std::size_t>(uniform(0, static_cast<int>(shown.size()) - 1))];
        m_lastAction = "close window " + std::to_string(w.id) + " (" + std::to_string(w.geometry.width()) + "x" +
                       std::to_string(w.geometry.height()) + ") on the " + name(s) + " screen";
        log(m_lastAction);
        return m_x.requestClose(w.id);
    }

    // Chooses and sends one action; says what it must do.
    Expect act(Screen s)
    {
        const bool quietKeys = s == Screen::Question && farewellMayCome();
        const double close = m_closeWeight;
        const double esc = s == Screen::Title ? m_escWeight : 0.3;
        const double chars = quietKeys ? 0 : (s == Screen::Farewell ? 0.6 : 2);
        const double hotspots = s == Screen::Question ? 6 : 0;
        // Tab moves the focus on the question screen, but it is a character key too (code 9), and ends
        // the run should the farewell screen have come up meanwhile.
        const double tab = s == Screen::Question && !quietKeys ? 1.0 : 0.0;
        const double weights[] = {3, hotspots, 2.5, chars, quietKeys ? 0 : esc, tab, close};
        std::discrete_distribution<int> kind(std::begin(weights), std::end(weights));
        switch (kind(m_rng)) {
        case 0: {   // anywhere on the screen, now and then with another button or the wheel
            const int button = chance() < 0.85 ? 1 : uniform(2, 5);
            sendClick({uniform(0, m_x.size().width() - 1), uniform(0, m_x.size().height() - 1)}, button, s);
            return Expect::Stays;
        }
        case 1: {
            const Hotspot &h = m_hotspots[static_cast<std::size_t>(uniform(0, static_cast<int>(m_hotspots.size()) - 1))];
            sendClick(h.centre + QPoint(uniform(-3, 3), uniform(-3, 3)), 1, s, h.name);
            return Expect::Stays;
        }
        case 2:
            sendKey(kNonCharacterKeys[static_cast<std::size_t>(uniform(0, static_cast<int>(kNonCharacterKeys.size()) - 1))], s);
            return Expect::Stays;
        case 3:
            sendKey(kCharacterKeys[static_cast<std::size_t>(uniform(0, static_cast<int>(kCharacterKeys.size()) - 1))], s);
            return s == Screen::Title ? Expect::OpensQuestion : s == Screen::Farewell ? Expect::Exits : Expect::Stays;
        case 4:
            sendKey("Escape", s);
            return s == Screen::Question ? Expect::Stays : Expect::Exits;
        case 5:
            sendKey("Tab", s);
            return Expect::Stays;
        default:
            return sendClose(s) ? Expect::Exits : Expect::Stays;
        }
    }

    // The time is up: the key sequence the screen calls for, and the program must end with it.
    Outcome finishRun(Outcome &out)
    {
        log("time is up");
        for (int attempt = 0; attempt < 8; ++attempt) {
            if (!running())
                return failed(out, "the game ended without a cause while the run was being finished");
            const Seen seen = settledScreen();
            if (!seen)
                return failed(out, "the screen shows none of the three screens");
            const Screen s = *seen;
            switch (s) {
            case Screen::Title:
                sendKey("Escape", s);
                return finished(out, "Esc on the title screen at the end of the run");
            case Screen::Farewell:
                sendKey("q", s);
                return finished(out, "a key on the farewell screen at the end of the run");
            case Screen::Question:
                if (gameShowsItsEnd()) {
                    m_x.waitUntil([&] { return screen() != Screen::Question; }, 10s, 20ms);
                    continue;
                }
                // Quit is the cancel button, usable while the options are shown and after a right answer.
                sendKey("Escape", s);
                std::this_thread::sleep_for(400ms);
                if (gameShowsItsEnd())
                    continue;
                sendClick(m_hotspots[0].centre, 1, s, m_hotspots[0].name);
                std::this_thread::sleep_for(400ms);
                sendKey("Escape", s);
                std::this_thread::sleep_for(400ms);
                if (gameShowsItsEnd())
                    continue;
                sendKey("Return", s);   // "Next Question", should a right answer stand on the screen
                std::this_thread::sleep_for(400ms);
                continue;
            }
        }
        return failed(out, "the game could not be brought to its end by Quit and the farewell screen");
    }

    // The program was asked to end: it must, with status 0 and nothing from a sanitizer.
    Outcome finished(Outcome &out, const std::string &cause)
    {
        const int status = m_game->waitExit(30s);
        if (status < 0)
            return failed(out, "the game did not end after " + cause);
        out.endedBy = cause;
        return checkEnd(out, status);
    }

    Outcome checkEnd(Outcome &out, int status)
    {
        const std::string text = m_game->output();
        for (const char *mark : {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:",
                                 "UndefinedBehaviorSanitizer", "SUMMARY: "})
            if (text.find(mark) != std::string::npos)
                return failed(out, std::string("the sanitizers reported \"") + mark + "\"", false);
        if (status != 0)
            return failed(out, "the game ended with status " + std::to_string(status) + " after " + out.endedBy, false);
        return out;
    }

    Outcome failed(Outcome &out, const std::string &why, bool stillRunning = true)
    {
        out.passed = false;
        out.why = why + " (last action: " + (m_lastAction.empty() ? "none" : m_lastAction) + ")";
        if (m_game != nullptr)
            out.log = m_game->output();
        const std::string run = "run" + std::to_string(m_run);
        m_session.shot(run + "-failed");
        std::ofstream(folder() + "/" + run + "-actions.txt") << m_actionLog.str();
        if (stillRunning && running())
            m_game->kill();
        else if (m_game != nullptr && !running())
            out.why += ", exit status " + std::to_string(m_game->waitExit(0ms));
        return out;
    }

    std::string m_program;
    std::string m_suppressions;
    driver::Session m_session;
    driver::Display &m_x;
    std::vector<Hotspot> m_hotspots;
    QPoint m_quitFace;
    QImage m_sadFace;   // Image4, shown only after a wrong answer
    std::mt19937_64 m_rng;
    std::ostringstream m_actionLog;
    std::string m_lastAction;
    driver::Process *m_game = nullptr;   // this run's
    int m_run = 0;
    double m_escWeight = 0;
    double m_closeWeight = 0;
    int m_gap = 0;
    Clock::time_point m_lastNotEnded;
    bool m_endSeen = false;
};

}  // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::cerr << "usage: " << argv[0] << " GAME LSAN_SUPPRESSIONS [TOTAL_SECONDS [SEED]]\n";
        return 2;
    }
    double total = argc > 3 ? std::atof(argv[3]) : 120;
    if (const char *s = std::getenv("TARVELO_MONKEY_SECONDS"))
        total = std::atof(s);
    std::uint64_t base = static_cast<std::uint64_t>(Clock::now().time_since_epoch().count()) ^
                         (static_cast<std::uint64_t>(getpid()) << 32);
    if (argc > 4)
        base = std::strtoull(argv[4], nullptr, 10);
    if (const char *s = std::getenv("TARVELO_MONKEY_SEED"))
        base = std::strtoull(s, nullptr, 10);

    driver::Application application(argc, argv);
    int passed = 0;
    int failed = 0;
    try {
        Monkey monkey(argv[1], argv[2]);
        std::cout << "monkey: base seed " << base << " (TARVELO_MONKEY_SEED=" << base
                  << " replays the same choices), " << total << " s of actions, logs in " << monkey.folder()
                  << std::endl;
        std::mt19937_64 slices(base);
        double left = total;
        for (int run = 0; left > 1 && run < 40; ++run) {
            const std::uint64_t seed = quiz::testing::mix(base + static_cast<std::uint64_t>(run));
            const double slice = std::min(left, std::uniform_real_distribution<double>(10, 25)(slices));
            const auto started = Clock::now();
            const Outcome out = monkey.play(run, seed, std::chrono::duration<double>(slice));
            const double used = std::chrono::duration<double>(Clock::now() - started).count();
            left -= std::min(used, slice);
            if (out.passed) {
                ++passed;
                std::cout << "run " << run << " seed " << seed << ": " << out.actions << " actions in " << used
                          << " s, ended by " << out.endedBy << ", status 0" << std::endl;
            } else {
                ++failed;
                monkey.keepFolder();
                std::cout << "run " << run << " seed " << seed << " FAILED after " << out.actions
                          << " actions: " << out.why << "\n  log: " << monkey.folder() << "/run" << run << ".log\n"
                          << out.log << std::endl;
            }
        }
    } catch (const std::exception &e) {
        std::cout << "monkey could not run: " << e.what() << std::endl;
        ++failed;
    }
    std::cout << passed << " passed, " << failed << " failed" << std::endl;
    return failed == 0 ? 0 : 1;
}
