// Whole games of random player and platform events, checked against a model of the screen after every event.
//
// Each game has its own seed, from which both the game's chance and the player's choices follow, so a
// failing game is replayed by running playGame() with the seed its failure reports.

// Own
#include "quiz/question_game.h"
#include "quiz_fakes.h"

// Standard
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace quiz {
namespace {

using testing::expectedBlanked;
using testing::expectedCorrect;
using testing::RecordingSwitcher;
using testing::ScreenCall;

// The game's chance: a seeded engine. A reseed is counted but does not restart the stream, so that a
// replay from the game's seed stays exact. A spread below 1 keeps every draw under it, so that the
// draws repeat often and games run through all the spare entries.
class SeededRandom final : public RandomSource {
public:
    SeededRandom(std::uint64_t seed, double spread) : m_engine(seed), m_spread(spread) {}
    void reseed() override { ++m_reseeds; }
    double draw() override
    {
        ++m_draws;
        m_last = static_cast<double>(m_engine() >> 11) * 0x1.0p-53 * m_spread;   // 0 <= r < spread <= 1
        return m_last;
    }
    int reseeds() const { return m_reseeds; }
    int draws() const { return m_draws; }
    double last() const { return m_last; }

private:
    std::mt19937_64 m_engine;
    double m_spread;
    int m_reseeds = 0;
    int m_draws = 0;
    double m_last = -1;
};

enum class Event { Activate, ShowOptions, Lifeline, Next, Quit, ClickBox, TimerFired };
const char *const kEventNames[] = {"activate", "showOptions", "lifeline", "next", "quit", "clickBox", "timerFired"};

// Where the game stands, as the rules say it must after each event.
enum class Phase { Posed, Shown, Right, Lost, Won, Quitting, Farewell };
const char *const kPhaseNames[] = {"posed", "shown", "right", "lost", "won", "quitting", "farewell"};

struct Model {
    Phase phase = Phase::Posed;
    int questions = 1;                  // questions put up in this game
    int presses = 0;                    // lifeline presses
    int repeats = 0;                    // draws that found their entry already asked
    int praises = 0;                    // praise draws
    int chosen = 0;                     // the option judged on this question
    bool happyAtQuit = false;
    std::array<bool, 4> blanked{};      // options the lifeline removed from this question
    std::array<bool, kBankSize> shown{};
    bool usedUp() const { return presses >= kLifelinePresses; }
};

struct Outcomes {
    int won = 0;
    int lost = 0;
    int quit = 0;
    int eighthRepeats = 0;
    long events = 0;
};

// Returns a description of the first rule the game breaks, or an empty string.
std::string check(const QuestionGame &game, const Model &m, const QuestionControls &atEnd, const SeededRandom &random,
                  const RecordingSwitcher &screens)
{
    const QuestionControls &c = game.controls();
    const GameState &s = game.state();
#define RULE(condition)                                                                          \
    do {                                                                                         \
        if (!(condition))                                                                        \
            return std::string("in phase ") + kPhaseNames[static_cast<int>(m.phase)] + ": " #condition; \
    } while (false)

    // Every phase.
    RULE(s.qIndex >= 0 && s.qIndex < kBankSize);
    const auto index = static_cast<std::size_t>(s.qIndex);
    RULE(s.qAsked[index]);
    RULE(s.qAsked == m.shown);
    RULE((s.qCount >= 1 && s.qCount <= kLastQuestion) || s.qCount == kWonMark);
    RULE(s.qSpare == kFirstSpare + std::min(m.repeats, kBankSize - kFirstSpare));
    RULE(s.lifeCount == (m.presses == 0 ? 0 : m.presses == 1 ? 1 : kLifelineUsedUp));
    RULE(random.reseeds() == m.questions);
    RULE(random.draws() == m.questions + m.praises);
    int ticked = 0;
    for (const CheckBox &b : c.boxes)
        ticked += b.ticked ? 1 : 0;
    RULE(ticked <= 1);
    const bool ended = m.phase == Phase::Lost || m.phase == Phase::Won || m.phase == Phase::Quitting;
    RULE(c.endTimer.running == ended);
    RULE(!screens.calls.empty() && screens.calls.front() == testing::kHideTitle);
    const auto farewells = std::count(screens.calls.begin(), screens.calls.end(), testing::kShowFarewell);
    RULE(farewells == (m.phase == Phase::Farewell ? 1 : 0));
    RULE(screens.calls.size() == static_cast<std::size_t>(1 + farewells));

    if (m.phase == Phase::Farewell) {
        QuestionControls expected = atEnd;
        expected.endTimer.running = false;
        RULE(c == expected);
        return {};
    }
    if (m.phase == Phase::Won) {
        RULE(s.qCount == kWonMark);
        RULE(c.message.caption == texts::kWon && c.message.text == colours::kHighlight3d && c.message.visible);
        RULE(c.happyFace.visible && !c.sadFace.visible);
        for (const Button *b : {&c.showOptions, &c.lifeline, &c.next, &c.quit})
            RULE(!b->visible);
        for (const Label *l : {&c.question, &c.number, &c.lifelineUsed, &c.options[0], &c.options[1], &c.options[2], &c.options[3]})
            RULE(!l->visible);
        for (const CheckBox &b : c.boxes)
            RULE(!b.visible);
        RULE(!c.optionFrames.visible && !c.questionFrame.visible);
        return {};
    }
    RULE(s.qCount == m.questions);
    RULE(c.lifelineUsed.visible == m.usedUp());
    RULE(c.optionFrames.visible && c.questionFrame.visible);
    if (m.phase == Phase::Quitting) {
        RULE(c.message.caption == texts::kGoodbye && c.message.text == colours::kWhite);
        for (const Button *b : {&c.showOptions, &c.lifeline, &c.next, &c.quit})
            RULE(!b->visible);
        for (const Label *l : {&c.question, &c.number, &c.options[0], &c.options[1], &c.options[2], &c.options[3]})
            RULE(!l->visible);
        for (const CheckBox &b : c.boxes)
            RULE(!b.visible);
        RULE(c.happyFace.visible == m.happyAtQuit && !c.sadFace.visible);
        return {};
    }

    // Posed, Shown, Right and Lost: the game's controls are on screen.
    RULE(c.question.visible && c.number.visible && c.question.caption == bankEntry(s.qIndex).question);
    RULE(c.number.caption == std::to_string(m.questions));
    RULE(c.showOptions.visible && c.next.visible && c.quit.visible);
    RULE(c.lifeline.visible == !m.usedUp());
    const int correct = expectedCorrect(s.qIndex);
    for (int n = 1; n <= 4; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        const Label &l = c.options[i];
        const CheckBox &b = c.boxes[i];
        RULE(l.visible && b.visible);
        const std::string_view option = bankEntry(s.qIndex).options[i];
        if (m.phase == Phase::Posed) {
            RULE(l.caption.empty());
            RULE(b.enabled && !b.ticked);
            RULE(l.text == colours::kWhite);
            RULE(l.back == (m.questions == 1 ? colours::kButtonText : colours::kWindowText));
            continue;
        }
        RULE(l.caption == (m.blanked[i] ? std::string_view{} : option));
        if (m.phase == Phase::Shown) {
            RULE(b.enabled == !m.blanked[i] && !b.ticked);
            RULE(l.text == colours::kWhite);
            continue;
        }
        // Judged.
        RULE(!b.enabled && b.ticked == (n == m.chosen));
        RULE(l.text == (n == correct ? colours::kBlue : colours::kWhite));
        if (n == correct)
            RULE(l.back == colours::kLightGreen);
        else if (n == m.chosen)
            RULE(l.back == colours::kOrange);
    }

    switch (m.phase) {
    case Phase::Posed:
        RULE(c.showOptions.enabled && !c.lifeline.enabled && !c.next.enabled && !c.quit.enabled);
        RULE(c.message.caption == (m.questions == 1 ? texts::kReminder : std::string_view{}));
        RULE(!c.happyFace.visible && !c.sadFace.visible);
        break;
    case Phase::Shown:
        RULE(!c.showOptions.enabled && c.lifeline.usable() == !m.usedUp() && !c.next.enabled && c.quit.enabled);
        RULE(c.message.caption.empty());
        RULE(!c.happyFace.visible && !c.sadFace.visible);
        RULE(!c.options[static_cast<std::size_t>(correct - 1)].caption.empty());
        break;
    case Phase::Right:
        RULE(!c.showOptions.enabled && !c.lifeline.enabled && c.next.enabled && c.quit.enabled);
        RULE(s.praiseIndex >= 0 && s.praiseIndex < kPraiseDrawn);
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
    return {};
#undef RULE
}

// The entry that "Next Question" must put up for the draw r.
int expectedNextEntry(const Model &m, double r)
{
    const int d = static_cast<int>(r * kRandomEntries);
    if (!m.shown[static_cast<std::size_t>(d)])
        return d;
    if (m.repeats < kBankSize - kFirstSpare)
        return kFirstSpare + m.repeats;
    for (int k = 0; k < kBankSize; ++k)
        if (!m.shown[static_cast<std::size_t>(k)])
            return k;
    return -1;
}

// Plays one game to the farewell screen; returns what went wrong, or an empty string.
std::string playGame(std::uint64_t seed, Outcomes &outcomes)
{
    std::mt19937_64 player(seed ^ 0x9E3779B97F4A7C15ull);
    SeededRandom random(seed, std::array<double, 4>{1.0, 1.0, 0.5, 0.2}[player() % 4]);
    RecordingSwitcher screens;
    QuestionGame game(random, screens);

    // Each game has its own player: how often they quit, and how often they know the answer.
    const int quitWeight = std::array<int, 4>{0, 1, 2, 6}[player() % 4];
    const double skill = std::array<double, 4>{0.0, 0.5, 0.9, 1.0}[player() % 4];
    const std::array<int, 7> weights{1, 4, 2, 4, quitWeight, 5, 2};
    std::discrete_distribution<int> pickEvent(weights.begin(), weights.end());
    std::uniform_real_distribution<double> chance(0.0, 1.0);

    Model m;
    QuestionControls atEnd;   // the screen when the end timer fired
    std::string history;
    std::vector<ClickRecord> journal;   // the box clicks of one event, nested ones included
    game.setClickJournal(&journal);
    game.load();
    game.activate();
    m.shown[static_cast<std::size_t>(game.state().qIndex)] = true;
    if (std::string why = check(game, m, atEnd, random, screens); !why.empty())
        return "after the first activation, " + why;

    constexpr int kMaxEvents = 5000;
    for (int e = 0; e < kMaxEvents; ++e) {
        ++outcomes.events;
        const auto event = static_cast<Event>(pickEvent(player));
        int option = 0;
        if (event == Event::ClickBox) {
            option = chance(player) < skill ? expectedCorrect(game.state().qIndex)
                                            : static_cast<int>(player() % 4) + 1;
        }
        history += kEventNames[static_cast<int>(event)];
        if (option != 0)
            history += std::to_string(option);
        history += ' ';

        // What the event must do, decided before it happens.
        Model next = m;
        bool nothingChanges = true;
        bool drawsQuestion = false;
        bool judges = false;
        switch (event) {
        case Event::Activate:
            break;
        case Event::ShowOptions:
            if (m.phase == Phase::Posed) {
                next.phase = Phase::Shown;
                nothingChanges = false;
            }
            break;
        case Event::Lifeline:
            if (m.phase == Phase::Shown && !m.usedUp()) {
                ++next.presses;
                for (int n : expectedBlanked(game.state().qIndex))
                    next.blanked[static_cast<std::size_t>(n - 1)] = true;
                nothingChanges = false;
            }
            break;
        case Event::Next:
            if (m.phase == Phase::Right) {
                next.phase = Phase::Posed;
                ++next.questions;
                next.blanked = {};
                next.chosen = 0;
                drawsQuestion = true;
                nothingChanges = false;
            }
            break;
        case Event::Quit:
            if (m.phase == Phase::Shown || m.phase == Phase::Right) {
                next.happyAtQuit = m.phase == Phase::Right;
                next.phase = Phase::Quitting;
                nothingChanges = false;
            }
            break;
        case Event::ClickBox:
            if (m.phase == Phase::Shown && !m.blanked[static_cast<std::size_t>(option - 1)]) {
                next.chosen = option;
                nothingChanges = false;
                judges = true;
                if (option != expectedCorrect(game.state().qIndex)) {
                    next.phase = Phase::Lost;
                } else if (m.questions == kLastQuestion) {
                    next.phase = Phase::Won;
                } else {
                    next.phase = Phase::Right;
                    ++next.praises;
                }
            }
            break;
        case Event::TimerFired:
            if (m.phase == Phase::Lost || m.phase == Phase::Won || m.phase == Phase::Quitting) {
                next.phase = Phase::Farewell;
                atEnd = game.controls();
                nothingChanges = false;
            }
            break;
        }

        std::optional<QuestionControls> before;
        if (nothingChanges)
            before = game.controls();
        const int indexBefore = game.state().qIndex;
        const int praiseBefore = game.state().praiseIndex;

        journal.clear();
        switch (event) {
        case Event::Activate: game.activate(); break;
        case Event::ShowOptions: game.pressShowOptions(); break;
        case Event::Lifeline: game.pressLifeline(); break;
        case Event::Next: game.pressNext(); break;
        case Event::Quit: game.pressQuit(); break;
        case Event::ClickBox: game.clickBox(option); break;
        case Event::TimerFired: game.timerFired(); break;
        }

        std::string why;
        const auto judged = std::count_if(journal.begin(), journal.end(), [](const ClickRecord &r) { return r.judged; });
        if (judged != (judges ? 1 : 0))
            why = std::to_string(judged) + " judged clicks where " + (judges ? "one" : "none") + " was due";
        else if (judges && !(journal.size() == 1 && journal[0].depth == 0 && journal[0].ticked))
            why = "the judged tick ran other clicks or ran nested";
        else if (nothingChanges && !(game.controls() == *before))
            why = "an event that must change nothing changed the screen";
        else if (nothingChanges && (game.state().qIndex != indexBefore || game.state().praiseIndex != praiseBefore))
            why = "an event that must change nothing changed the game state";
        if (why.empty() && drawsQuestion) {
            const int expected = expectedNextEntry(m, random.last());
            if (game.state().qIndex != expected)
                why = "next question shows entry " + std::to_string(game.state().qIndex) + ", not " + std::to_string(expected);
            else if (m.shown[static_cast<std::size_t>(expected)])
                why = "entry " + std::to_string(expected) + " shown twice";
            const int drawn = static_cast<int>(random.last() * kRandomEntries);
            if (m.shown[static_cast<std::size_t>(drawn)]) {
                ++next.repeats;
                if (next.repeats > kBankSize - kFirstSpare)
                    ++outcomes.eighthRepeats;
            }
            next.shown[static_cast<std::size_t>(game.state().qIndex)] = true;
        }
        m = next;
        if (why.empty())
            why = check(game, m, atEnd, random, screens);
        if (!why.empty())
            return "event " + std::to_string(e + 1) + " (" + kEventNames[static_cast<int>(event)] + "): " + why +
                   "\n  events: " + history;
        if (m.phase == Phase::Farewell) {
            if (game.state().strQuestion[24] != bankEntry(24).question || game.state().strPraise[3] != praiseMessages()[3])
                return "the loaded texts changed during the game";
            const Phase end = atEnd.message.caption == texts::kWon ? Phase::Won
                              : atEnd.message.caption == texts::kWrong ? Phase::Lost : Phase::Quitting;
            ++(end == Phase::Won ? outcomes.won : end == Phase::Lost ? outcomes.lost : outcomes.quit);
            return {};
        }
    }
    return "the game did not reach the farewell screen in " + std::to_string(kMaxEvents) + " events\n  events: " + history;
}

class RandomGames : public ::testing::TestWithParam<std::uint64_t> {};

TEST_P(RandomGames, EveryEventKeepsTheScreenInALegalStateAndEachGameEndsOnTheFarewell)
{
    constexpr int kGames = 25'000;   // four seeds: 100,000 games in all
    const std::uint64_t base = GetParam();
    Outcomes outcomes;
    for (int g = 0; g < kGames; ++g) {
        const std::uint64_t seed = base * 1'000'003ull + static_cast<std::uint64_t>(g);
        const std::string why = playGame(seed, outcomes);
        if (!why.empty()) {
            ADD_FAILURE() << "game seed " << seed << " (base " << base << ", game " << g << "): " << why;
            return;
        }
    }
    // The games must have reached every end, and the rule for a repeat once the spares are gone.
    EXPECT_GT(outcomes.won, kGames / 100);
    EXPECT_GT(outcomes.lost, kGames / 100);
    EXPECT_GT(outcomes.quit, kGames / 100);
    EXPECT_GT(outcomes.eighthRepeats, kGames / 100);
    RecordProperty("won", outcomes.won);
    RecordProperty("lost", outcomes.lost);
    RecordProperty("quit", outcomes.quit);
    RecordProperty("eighthRepeats", outcomes.eighthRepeats);
    RecordProperty("events", static_cast<int>(outcomes.events));
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomGames, ::testing::Values(1u, 2u, 3u, 4u));

}  // namespace
}  // namespace quiz
