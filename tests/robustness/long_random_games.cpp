// A million random games of the rules, each checked after every event against what the question
// screen must show in the phase the game is in.
//
// The game's chance comes from a stand-in for the clock-seeded source: every question draw re-seeds
// from a simulated clock that the player's pace moves on, and on a coarse clock two quick draws share
// a seed, so repeated draws, the spare entries 30 to 36 and the rule for the eighth repeat are all
// reached often. The player presses anything at any time, enabled or not.
//
// TARVELO_LONG_GAMES sets the number of games (1,000,000 by default, spread over the shards below);
// TARVELO_LONG_SEED fixes the base seed, which is otherwise taken from the clock and always printed.
// A failure names the seed of its game; TARVELO_LONG_REPLAY=SEED replays that one game and prints its events.

// Own
#include "quiz/question_bank.h"
#include "quiz/question_game.h"
#include "quiz/random_source.h"
#include "quiz/screen_switcher.h"

// Standard
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

namespace {

using namespace quiz;

constexpr int kShards = 10;
constexpr int kMaxEvents = 4000;

std::uint64_t mix(std::uint64_t x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

std::uint64_t envNumber(const char *name, std::uint64_t fallback)
{
    const char *v = std::getenv(name);
    return v != nullptr && *v != '\0' ? std::strtoull(v, nullptr, 10) : fallback;
}

// The clock-seeded source as the program has it, with the clock simulated: reseed() starts the
// sequence that the clock's current tick selects.
class ClockSeededRandom final : public RandomSource {
public:
    ClockSeededRandom(std::uint64_t seed, std::uint64_t ticksPerDraw) : m_tick(seed), m_resolution(ticksPerDraw) {}
    void pass(std::uint64_t ticks) { m_tick += ticks; }
    void reseed() override
    {
        ++reseeds;
        m_engine.seed(m_tick / m_resolution);
    }
    double draw() override
    {
        ++draws;
        return static_cast<double>(m_engine() >> 11) * 0x1.0p-53;
    }
    int reseeds = 0;
    int draws = 0;

private:
    std::mt19937_64 m_engine;
    std::uint64_t m_tick;
    std::uint64_t m_resolution;
};

class Switcher final : public ScreenSwitcher {
public:
    void show(Screen s) override { (s == Screen::Farewell ? farewells : others)++; }
    void hide(Screen s) override { (s == Screen::Title ? titleHides : others)++; }
    void endProgram() override { ++ends; }
    int farewells = 0;
    int titleHides = 0;
    int others = 0;
    int ends = 0;
};

enum class Phase { Posed, Shown, Right, Lost, Won, Quitting, Farewell };
const char *const kPhase[] = {"posed", "shown", "right", "lost", "won", "quitting", "farewell"};
enum class Event { ShowOptions, Lifeline, Next, Quit, Box1, Box2, Box3, Box4, Timer, Activate };
const char *const kEvent[] = {"options", "50-50", "next", "quit", "box1", "box2", "box3", "box4", "timer", "activate"};

int correctFor(int index) { return index < 12 ? 1 : index < 25 ? 3 : 4; }

struct Totals {
    long games = 0, events = 0, won = 0, lost = 0, quit = 0, spares = 0, eighthRepeats = 0, lifelines = 0;
    std::array<long, 4> praise{};
};

// One game, played and checked; returns the first broken rule, or "".
class Game {
public:
    Game(std::uint64_t seed, bool trace)
        : m_player(mix(seed ^ 0xA5A5A5A5u)), m_random(mix(seed), resolutionFor(seed)),
          m_game(m_random, m_screens), m_trace(trace)
    {
    }

    std::string play(Totals &totals)
    {
        m_game.load();
        if (m_game.controls().next.enabled || m_game.controls().lifeline.enabled || m_game.controls().endTimer.running)
            return "after load: Next, 50-50 or the end timer is on";
        m_game.activate();
        if (const std::string why = afterQuestionPut(true); !why.empty())
            return "first question: " + why;
        if (const std::string why = check(); !why.empty())
            return "after activation: " + why;
        // This player's habits: how often they know the answer, and how restless they are.
        const double skill = std::array<double, 4>{0.25, 0.6, 0.9, 1.0}[m_player() % 4];
        const double quitWeight = std::array<double, 3>{0.0, 0.3, 2.0}[m_player() % 3];
        const std::array<double, 10> weights{4, 2, 4, quitWeight, 1, 1, 1, 1, 1.5, 0.3};
        std::discrete_distribution<int> pick(weights.begin(), weights.end());

        for (int e = 0; e < kMaxEvents; ++e) {
            auto event = static_cast<Event>(pick(m_player));
            if (event >= Event::Box1 && event <= Event::Box4 && m_game.state().qIndex >= 0 &&
                std::uniform_real_distribution<double>(0, 1)(m_player) < skill)
                event = static_cast<Event>(static_cast<int>(Event::Box1) + correctFor(m_game.state().qIndex) - 1);
            m_random.pass(std::uniform_int_distribution<std::uint64_t>(1, 2000)(m_player));
            ++totals.events;
            if (m_trace)
                std::cout << "  " << kEvent[static_cast<int>(event)] << " in " << kPhase[static_cast<int>(m_phase)]
                          << " (entry " << m_game.state().qIndex << ")\n";
            if (const std::string why = step(event, totals); !why.empty())
                return "event " + std::to_string(e + 1) + " (" + kEvent[static_cast<int>(event)] + " while " +
                       kPhase[static_cast<int>(m_phase)] + "): " + why;
            if (m_phase == Phase::Farewell) {
                // Once the farewell is up nothing may change any more, whatever is pressed.
                const QuestionControls frozen = m_game.controls();
                for (int k = 0; k < 10; ++k)
                    apply(static_cast<Event>(k));
                if (!(m_game.controls() == frozen) || m_screens.farewells != 1)
                    return "an event after the farewell changed the screen";
                return {};
            }
        }
        return "no end after " + std::to_string(kMaxEvents) + " events";
    }

private:
    static std::uint64_t resolutionFor(std::uint64_t seed)
    {
        // A fine clock, a coarse one, and one so coarse that most draws of a game share their seed.
        return std::array<std::uint64_t, 3>{1, 1500, 40000}[mix(seed + 7) % 3];
    }

    void apply(Event e)
    {
        switch (e) {
        case Event::ShowOptions: m_game.pressShowOptions(); break;
        case Event::Lifeline: m_game.pressLifeline(); break;
        case Event::Next: m_game.pressNext(); break;
        case Event::Quit: m_game.pressQuit(); break;
        case Event::Box1: m_game.clickBox(1); break;
        case Event::Box2: m_game.clickBox(2); break;
        case Event::Box3: m_game.clickBox(3); break;
        case Event::Box4: m_game.clickBox(4); break;
        case Event::Timer: m_game.timerFired(); break;
        case Event::Activate: m_game.activate(); break;
        }
    }

    std::string step(Event e, Totals &totals)
    {
        const QuestionControls before = m_game.controls();
        const GameState &now = m_game.state();
        const auto stateBefore = std::make_tuple(now.qIndex, now.qCount, now.lifeCount, now.praiseIndex, now.qAsked);
        const int option = e >= Event::Box1 && e <= Event::Box4 ? static_cast<int>(e) - static_cast<int>(Event::Box1) + 1 : 0;
        const int entry = now.qIndex;

        // What the event must do in this phase; anything not listed must change nothing at all.
        Phase next = m_phase;
        bool effective = false;
        switch (e) {
        case Event::ShowOptions: effective = m_phase == Phase::Posed; next = Phase::Shown; break;
        case Event::Lifeline: effective = m_phase == Phase::Shown && m_presses < 2; break;
        case Event::Next: effective = m_phase == Phase::Right; next = Phase::Posed; break;
        case Event::Quit: effective = m_phase == Phase::Shown || m_phase == Phase::Right; next = Phase::Quitting; break;
        case Event::Timer:
            effective = m_phase == Phase::Lost || m_phase == Phase::Won || m_phase == Phase::Quitting;
            next = Phase::Farewell;
            break;
        case Event::Activate: break;
        default:   // a box
            effective = m_phase == Phase::Shown && !m_blanked[static_cast<std::size_t>(option - 1)];
            next = option != correctFor(entry) ? Phase::Lost : m_questions == kLastQuestion ? Phase::Won : Phase::Right;
            break;
        }
        const int drawsBefore = m_random.draws;

        apply(e);

        if (!effective) {
            if (!(m_game.controls() == before))
                return "an event that must do nothing changed the screen";
            if (std::make_tuple(now.qIndex, now.qCount, now.lifeCount, now.praiseIndex, now.qAsked) != stateBefore ||
                m_random.draws != drawsBefore || m_random.reseeds != m_questions)
                return "an event that must do nothing changed the game";
            return check();
        }

        m_happyAtQuit = m_phase == Phase::Right;
        switch (e) {
        case Event::Lifeline: {
            ++m_presses;
            ++totals.lifelines;
            int blankedNow = 0;
            for (int n = 1; n <= 4; ++n) {
                const auto i = static_cast<std::size_t>(n - 1);
                const bool blank = m_game.controls().options[i].caption.empty();
                if (blank && !m_blanked[i]) {
                    if (n == correctFor(entry))
                        return "the lifeline blanked the correct option";
                    if (m_game.controls().boxes[i].enabled)
                        return "the lifeline left the box of a blanked option enabled";
                    ++blankedNow;
                }
                m_blanked[i] = m_blanked[i] || blank;
            }
            // A second press on the same question blanks the same pair again: nothing new.
            const int alreadyBlank = static_cast<int>(std::count(m_blanked.begin(), m_blanked.end(), true));
            if (alreadyBlank != 2 || (blankedNow != 2 && blankedNow != 0))
                return "the lifeline did not leave exactly two options blank";
            break;
        }
        case Event::Next:
            ++m_questions;
            m_blanked = {};
            m_chosen = 0;
            if (const std::string why = afterQuestionPut(false); !why.empty())
                return why;
            break;
        case Event::Timer:
            m_atEnd = before;
            break;
        default:
            if (option != 0) {
                m_chosen = option;
                if (next == Phase::Right) {
                    const int p = m_game.state().praiseIndex;
                    if (p < 0 || p > 3)
                        return "praise slot " + std::to_string(p) + " drawn";
                    ++totals.praise[static_cast<std::size_t>(p)];
                    ++m_praises;
                }
            }
            break;
        }
        m_phase = next;
        if (next == Phase::Farewell) {
            const std::string &message = m_atEnd.message.caption;
            ++(message == texts::kWon ? totals.won : message == texts::kWrong ? totals.lost : totals.quit);
            ++totals.games;
        }
        return check();
    }

    // A question was just put on screen: a fresh entry, drawn by the rules for repeats.
    std::string afterQuestionPut(bool first)
    {
        const int index = m_game.state().qIndex;
        if (index < 0 || index >= kBankSize)
            return "entry " + std::to_string(index) + " is not in the bank";
        if (m_shown[static_cast<std::size_t>(index)])
            return "entry " + std::to_string(index) + " shown a second time";
        const int drawn = m_lastDrawnEntry();
        if (first && index != drawn)
            return "the first question is entry " + std::to_string(index) + ", not the drawn " + std::to_string(drawn);
        if (!first) {
            const bool repeat = m_shown[static_cast<std::size_t>(drawn)];
            if (!repeat && index != drawn)
                return "a fresh draw of " + std::to_string(drawn) + " put up entry " + std::to_string(index);
            if (repeat) {
                ++m_repeats;
                const int spare = kFirstSpare + m_repeats - 1;
                if (spare < kBankSize && index != spare)
                    return "repeat " + std::to_string(m_repeats) + " put up entry " + std::to_string(index) +
                           ", not spare " + std::to_string(spare);
            }
        }
        m_shown[static_cast<std::size_t>(index)] = true;
        return {};
    }

    // The entry the last question draw picked, recomputed from the same seed: floor(r * 30).
    int m_lastDrawnEntry()
    {
        // The draw was the last value taken after the last reseed; replaying the clock tick gives it.
        ClockSeededRandom replay = m_random;
        replay.reseed();
        return static_cast<int>(std::floor(replay.draw() * kRandomEntries));
    }

    std::string check() const
    {
        const QuestionControls &c = m_game.controls();
        const GameState &s = m_game.state();
        std::ostringstream why;
#define RULE(cond)                     \
    if (!(cond)) {                     \
        why << "rule broken: " #cond;  \
        return why.str();              \
    }
        RULE(s.qIndex >= 0 && s.qIndex < kBankSize && s.qAsked[static_cast<std::size_t>(s.qIndex)]);
        RULE(s.qAsked == m_shown);
        RULE(m_random.reseeds == m_questions);
        RULE(m_random.draws == m_questions + m_praises);
        RULE(m_screens.titleHides == 1 && m_screens.others == 0 && m_screens.ends == 0);
        RULE(m_screens.farewells == (m_phase == Phase::Farewell ? 1 : 0));
        RULE(s.lifeCount == (m_presses == 0 ? 0 : m_presses == 1 ? 1 : kLifelineUsedUp));
        int ticked = 0;
        for (const CheckBox &b : c.boxes)
            ticked += b.ticked ? 1 : 0;
        RULE(ticked == (m_chosen != 0 && m_phase != Phase::Posed ? 1 : 0));
        RULE(c.endTimer.running == (m_phase == Phase::Lost || m_phase == Phase::Won || m_phase == Phase::Quitting));

        if (m_phase == Phase::Farewell) {
            QuestionControls expected = m_atEnd;
            expected.endTimer.running = false;
            RULE(c == expected);
            return {};
        }
        const bool hidden = m_phase == Phase::Won || m_phase == Phase::Quitting;
        for (const Button *b : {&c.showOptions, &c.next, &c.quit})
            RULE(b->visible == !hidden);
        RULE(c.lifeline.visible == (!hidden && m_presses < 2));
        RULE(c.question.visible == !hidden && c.number.visible == !hidden);
        for (int n = 0; n < 4; ++n)
            RULE(c.options[static_cast<std::size_t>(n)].visible == !hidden && c.boxes[static_cast<std::size_t>(n)].visible == !hidden);
        RULE(c.optionFrames.visible == (m_phase != Phase::Won) && c.questionFrame.visible == (m_phase != Phase::Won));
        RULE(c.lifelineUsed.visible == (m_presses >= 2 && m_phase != Phase::Won));
        if (m_phase == Phase::Won) {
            RULE(s.qCount == kWonMark && c.message.caption == texts::kWon && c.message.text == colours::kHighlight3d);
            RULE(c.happyFace.visible && !c.sadFace.visible);
            return {};
        }
        RULE(s.qCount == m_questions && s.qCount <= kLastQuestion);
        if (m_phase == Phase::Quitting) {
            RULE(c.message.caption == texts::kGoodbye && c.message.text == colours::kWhite);
            RULE(c.happyFace.visible == m_happyAtQuit && !c.sadFace.visible);
            return {};
        }
        RULE(c.number.caption == std::to_string(m_questions));
        RULE(c.question.caption == bankEntry(s.qIndex).question);
        const int correct = correctFor(s.qIndex);
        for (int n = 1; n <= 4; ++n) {
            const auto i = static_cast<std::size_t>(n - 1);
            const Label &l = c.options[i];
            const CheckBox &b = c.boxes[i];
            if (m_phase == Phase::Posed) {
                RULE(l.caption.empty() && b.enabled && !b.ticked);
                continue;
            }
            RULE(l.caption == (m_blanked[i] ? std::string_view{} : bankEntry(s.qIndex).options[i]));
            if (m_phase == Phase::Shown) {
                RULE(b.enabled == !m_blanked[i] && !b.ticked);
                continue;
            }
            RULE(!b.enabled && b.ticked == (n == m_chosen));
            if (n == correct)
                RULE(l.text == colours::kBlue && l.back == colours::kLightGreen);
            if (n == m_chosen && n != correct)
                RULE(l.back == colours::kOrange);
        }
        switch (m_phase) {
        case Phase::Posed:
            RULE(c.showOptions.enabled && !c.lifeline.enabled && !c.next.enabled && !c.quit.enabled);
            RULE(c.message.caption == (m_questions == 1 ? texts::kReminder : std::string_view{}));
            RULE(!c.happyFace.visible && !c.sadFace.visible);
            break;
        case Phase::Shown:
            RULE(!c.showOptions.enabled && c.lifeline.usable() == (m_presses < 2) && !c.next.enabled && c.quit.enabled);
            RULE(c.message.caption.empty() && !c.happyFace.visible && !c.sadFace.visible);
            break;
        case Phase::Right:
            RULE(!c.showOptions.enabled && !c.lifeline.enabled && c.next.enabled && c.quit.enabled);
            RULE(c.message.caption == praiseMessages()[static_cast<std::size_t>(s.praiseIndex)]);
            RULE(c.message.text == colours::kWhite && c.message.pointSize == kMessagePointSize);
            RULE(c.happyFace.visible && !c.sadFace.visible);
            break;
        case Phase::Lost:
            RULE(!c.showOptions.enabled && !c.lifeline.enabled && !c.next.enabled && !c.quit.enabled);
            RULE(c.message.caption == texts::kWrong && c.message.text == colours::kRed);
            RULE(!c.happyFace.visible && c.sadFace.visible);
            break;
        default:
            break;
        }
#undef RULE
        return {};
    }

public:
    int repeats() const { return m_repeats; }

private:
    std::mt19937_64 m_player;
    ClockSeededRandom m_random;
    Switcher m_screens;
    QuestionGame m_game;
    bool m_trace;
    Phase m_phase = Phase::Posed;
    int m_questions = 1;
    int m_presses = 0;
    int m_praises = 0;
    int m_repeats = 0;
    int m_chosen = 0;
    bool m_happyAtQuit = false;
    std::array<bool, 4> m_blanked{};
    std::array<bool, kBankSize> m_shown{};
    QuestionControls m_atEnd;
};

class LongRandomGames : public ::testing::TestWithParam<int> {};

TEST_P(LongRandomGames, EveryEventLeavesTheScreenAsItsPhaseRequiresAndEveryGameReachesTheFarewell)
{
    const int shard = GetParam();
    const std::uint64_t total = envNumber("TARVELO_LONG_GAMES", 1'000'000);
    const std::uint64_t base = envNumber(
        "TARVELO_LONG_SEED", static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
    const std::uint64_t games = total / kShards + (static_cast<std::uint64_t>(shard) < total % kShards ? 1 : 0);
    std::cout << "shard " << shard << ": " << games << " games from base seed " << base
              << " (TARVELO_LONG_SEED=" << base << " plays them again)" << std::endl;

    Totals totals;
    for (std::uint64_t g = 0; g < games; ++g) {
        const std::uint64_t seed = mix(base ^ mix(static_cast<std::uint64_t>(shard) * 0x100000000ull + g));
        Game game(seed, false);
        const std::string why = game.play(totals);
        if (!why.empty()) {
            ADD_FAILURE() << "game seed " << seed << " (TARVELO_LONG_REPLAY=" << seed << " replays it): " << why;
            return;
        }
        totals.spares += std::min(game.repeats(), kBankSize - kFirstSpare);
        totals.eighthRepeats += game.repeats() > kBankSize - kFirstSpare ? 1 : 0;
    }
    std::cout << "shard " << shard << ": " << totals.games << " games, " << totals.events << " events; won "
              << totals.won << ", lost " << totals.lost << ", quit " << totals.quit << "; spares used " << totals.spares
              << ", games past the seventh repeat " << totals.eighthRepeats << ", lifeline presses "
              << totals.lifelines << std::endl;
    EXPECT_EQ(totals.games, static_cast<long>(games));
    // A sample of this size reaches every end and every repeat rule, and its praise is fair.
    if (games >= 10'000) {
        EXPECT_GT(totals.won, 0);
        EXPECT_GT(totals.lost, 0);
        EXPECT_GT(totals.quit, 0);
        EXPECT_GT(totals.eighthRepeats, 0);
        const double all = static_cast<double>(totals.praise[0] + totals.praise[1] + totals.praise[2] + totals.praise[3]);
        double chi2 = 0;
        for (long n : totals.praise)
            chi2 += std::pow(static_cast<double>(n) - all / 4, 2) / (all / 4);
        EXPECT_LT(chi2, 30.66) << "praise slots drawn " << totals.praise[0] << ", " << totals.praise[1] << ", "
                               << totals.praise[2] << ", " << totals.praise[3];   // p = 1e-6 at 3 degrees of freedom
    }
}

INSTANTIATE_TEST_SUITE_P(Shards, LongRandomGames, ::testing::Range(0, kShards));

// Replays one game named by a failure, event by event.
TEST(LongRandomGamesReplay, ReplaysTheGameNamedInTheEnvironment)
{
    const std::uint64_t seed = envNumber("TARVELO_LONG_REPLAY", 0);
    if (seed == 0)
        GTEST_SKIP() << "TARVELO_LONG_REPLAY is not set";
    Totals totals;
    Game game(seed, true);
    EXPECT_EQ(game.play(totals), "");
}

}  // namespace
