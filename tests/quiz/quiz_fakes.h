// Test doubles and small helpers shared by the quiz rules tests.
#pragma once

// Own
#include "quiz/controls.h"
#include "quiz/question_bank.h"
#include "quiz/question_game.h"
#include "quiz/random_source.h"
#include "quiz/screen_switcher.h"
#include "quiz/title_rules.h"

// Standard
#include <array>
#include <cstddef>
#include <deque>
#include <functional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

namespace quiz {

// Readable failure output for the control values (found by GoogleTest through the argument's namespace).
inline void PrintTo(Colour c, std::ostream *os)
{
    const auto flags = os->flags();
    *os << "0x" << std::hex << c.value;
    os->flags(flags);
}
inline void PrintTo(const Label &l, std::ostream *os)
{
    *os << "{\"" << l.caption << "\" text ";
    PrintTo(l.text, os);
    *os << " back ";
    PrintTo(l.back, os);
    *os << " pt " << l.pointSize << (l.visible ? "" : " hidden") << "}";
}
inline void PrintTo(const CheckBox &b, std::ostream *os)
{
    *os << "{" << (b.ticked ? "ticked" : "unticked") << (b.enabled ? "" : " off") << (b.visible ? "" : " hidden") << "}";
}
inline void PrintTo(const Button &b, std::ostream *os)
{
    *os << "{" << (b.enabled ? "on" : "off") << (b.visible ? "" : " hidden") << "}";
}
inline void PrintTo(const Picture &p, std::ostream *os) { *os << (p.visible ? "shown" : "hidden"); }
inline void PrintTo(const Timer &t, std::ostream *os) { *os << (t.running ? "running" : "stopped"); }
inline void PrintTo(const QuestionControls &c, std::ostream *os)
{
    *os << "\n  question ";
    PrintTo(c.question, os);
    for (std::size_t i = 0; i < c.options.size(); ++i) {
        *os << "\n  option " << i + 1 << " ";
        PrintTo(c.options[i], os);
        *os << " box ";
        PrintTo(c.boxes[i], os);
    }
    *os << "\n  number ";
    PrintTo(c.number, os);
    *os << "\n  message ";
    PrintTo(c.message, os);
    *os << "\n  lifelineUsed ";
    PrintTo(c.lifelineUsed, os);
    *os << "\n  showOptions ";
    PrintTo(c.showOptions, os);
    *os << " lifeline ";
    PrintTo(c.lifeline, os);
    *os << " next ";
    PrintTo(c.next, os);
    *os << " quit ";
    PrintTo(c.quit, os);
    *os << "\n  Image1 ";
    PrintTo(c.optionFrames, os);
    *os << " Image2 ";
    PrintTo(c.questionFrame, os);
    *os << " Image3 ";
    PrintTo(c.happyFace, os);
    *os << " Image4 ";
    PrintTo(c.sadFace, os);
    *os << " Timer1 ";
    PrintTo(c.endTimer, os);
}
inline void PrintTo(const TitleControls &c, std::ostream *os)
{
    *os << "{press ";
    PrintTo(c.press, os);
    *os << " abort ";
    PrintTo(c.abort, os);
    *os << " name ";
    PrintTo(c.name, os);
    for (const Timer &t : c.timers) {
        *os << " ";
        PrintTo(t, os);
    }
    *os << "}";
}

namespace testing {

// The correct option as the quiz defines it, written out here rather than taken from the library.
constexpr int expectedCorrect(int index) { return index <= 11 ? 1 : index <= 24 ? 3 : 4; }

// The two options the lifeline removes for a question, by the same three ranges.
constexpr std::array<int, 2> expectedBlanked(int index)
{
    return (index >= 12 && index <= 24) ? std::array<int, 2>{1, 4} : std::array<int, 2>{2, 3};
}

// Returns the values queued by the test, in order, and keeps the order of reseeds ('S') and draws ('D').
class ScriptedRandom final : public RandomSource {
public:
    void queue(double r) { m_values.push_back(r); }
    // A question draw that yields entry d (0 <= d < 30): the middle of d's share of [0, 1).
    void queueEntry(int d) { queue((d + 0.5) / kRandomEntries); }

    void reseed() override
    {
        ++m_reseeds;
        m_calls += 'S';
    }

    double draw() override
    {
        ++m_draws;
        m_calls += 'D';
        if (m_values.empty()) {
            ADD_FAILURE() << "the game drew a value the test did not queue";
            return 0.0;
        }
        const double r = m_values.front();
        m_values.pop_front();
        return r;
    }

    int reseeds() const { return m_reseeds; }
    int draws() const { return m_draws; }
    const std::string &calls() const { return m_calls; }
    std::size_t pending() const { return m_values.size(); }

private:
    std::deque<double> m_values;
    int m_reseeds = 0;
    int m_draws = 0;
    std::string m_calls;
};

struct ScreenCall {
    enum Kind { Show, Hide, End };
    Kind kind;
    Screen screen = Screen::Title;   // not looked at for End
    friend bool operator==(const ScreenCall &a, const ScreenCall &b)
    {
        return a.kind == b.kind && (a.kind == End || a.screen == b.screen);
    }
};

inline void PrintTo(const ScreenCall &call, std::ostream *os)
{
    static const char *const kKinds[] = {"show", "hide", "end program"};
    static const char *const kScreens[] = {"Title", "Question", "Farewell"};
    *os << kKinds[call.kind];
    if (call.kind != ScreenCall::End)
        *os << " " << kScreens[static_cast<int>(call.screen)];
}

inline const ScreenCall kShowQuestion{ScreenCall::Show, Screen::Question};
inline const ScreenCall kHideQuestion{ScreenCall::Hide, Screen::Question};
inline const ScreenCall kHideTitle{ScreenCall::Hide, Screen::Title};
inline const ScreenCall kShowFarewell{ScreenCall::Show, Screen::Farewell};
inline const ScreenCall kEndProgram{ScreenCall::End};

// Records every request for a screen; onCall, when set, runs after the request is recorded
// (a test uses it to look at the rules at that moment, or to play the shell's part).
class RecordingSwitcher final : public ScreenSwitcher {
public:
    void show(Screen screen) override { record({ScreenCall::Show, screen}); }
    void hide(Screen screen) override { record({ScreenCall::Hide, screen}); }
    void endProgram() override { record({ScreenCall::End}); }

    std::vector<ScreenCall> calls;
    std::function<void(const ScreenCall &)> onCall;

private:
    void record(const ScreenCall &call)
    {
        calls.push_back(call);
        if (onCall)
            onCall(call);
    }
};

// The game-state variables as one comparable value.
inline auto stateTie(const GameState &s)
{
    return std::tie(s.qIndex, s.praiseIndex, s.qSpare, s.qCount, s.lifeCount, s.qAsked, s.strQuestion, s.strPraise);
}

// One run of a box's click procedure, as a test sees it.
struct ClickRecord {
    int option;      // 1 .. 4
    bool ticked;     // the box's state when its click ran
    bool judged;     // false when the blank-option guard ends it: the option's caption is empty
    int depth;       // 0 for the outermost click
    friend bool operator==(const ClickRecord &, const ClickRecord &) = default;
    friend void PrintTo(const ClickRecord &c, std::ostream *os)
    {
        *os << "{option " << c.option << (c.ticked ? ", ticked" : ", unticked") << (c.judged ? ", judged" : ", guarded")
            << ", depth " << c.depth << '}';
    }
};

// The game with every run of a box's click recorded, nested ones included.
class WatchedGame final : public QuestionGame {
public:
    using QuestionGame::QuestionGame;
    std::vector<ClickRecord> clicks;

protected:
    void boxClicked(int option) override
    {
        const auto n = static_cast<std::size_t>(option - 1);
        clicks.push_back({option, controls().boxes[n].ticked, !controls().options[n].caption.empty(), m_depth});
        ++m_depth;
        QuestionGame::boxClicked(option);
        --m_depth;
    }

private:
    int m_depth = 0;
};

// A loaded question screen with scripted chance, and the steps that walk a game to a chosen point.
struct GameFixture {
    ScriptedRandom random;
    RecordingSwitcher screens;
    WatchedGame game{random, screens};

    GameFixture() { game.load(); }

    const QuestionControls &controls() const { return game.controls(); }
    const GameState &state() const { return game.state(); }
    int index() const { return game.state().qIndex; }

    // Activates the screen with entry `first` (0 <= first < 30) drawn for question 1.
    void start(int first = 0)
    {
        random.queueEntry(first);
        game.activate();
    }

    void reveal() { game.pressShowOptions(); }

    // Ticks `option`; a right answer that does not win draws its praise slot from `praise`.
    void answer(int option, double praise = 0.0)
    {
        if (option == expectedCorrect(index()) && state().qCount != kLastQuestion)
            random.queue(praise);
        game.clickBox(option);
    }
    void answerRight(double praise = 0.0) { answer(expectedCorrect(index()), praise); }

    // "Next Question" with entry d (0 <= d < 30) drawn.
    void next(int d)
    {
        random.queueEntry(d);
        game.pressNext();
    }

    // Reveals, answers right and moves on with d drawn.
    void rightThenNext(int d)
    {
        reveal();
        answerRight();
        next(d);
    }

    // A fresh game with bank entry k (0 <= k < 37) posed and its options not yet shown. Entries from 30
    // on are reached the only way a game reaches them: by repeating the draw of entry 0.
    void poseEntry(int k)
    {
        if (k < kFirstSpare) {
            start(k);
            return;
        }
        start(0);
        for (int spare = kFirstSpare; spare <= k; ++spare)
            rightThenNext(0);
    }

    // A fresh game at question n (1 <= n <= 15), its options not yet shown; question q shows entry q - 1.
    void poseQuestion(int n)
    {
        start(0);
        for (int q = 2; q <= n; ++q)
            rightThenNext(q - 1);
    }
};

}  // namespace testing
}  // namespace quiz
