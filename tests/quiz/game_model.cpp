// Own
#include "game_model.h"
#include "quiz/question_bank.h"
#include "quiz/question_game.h"
#include "quiz/random_source.h"
#include "quiz_fakes.h"

// Standard
#include <algorithm>
#include <random>

namespace quiz::testing {
namespace {

// The game's numbers as the rules state them, written out here so that a wrong constant in the rules shows.
constexpr int kQuestions = 15;         // the right answer to the fifteenth question wins
constexpr int kWonCount = 50;          // qCount once the game is won
constexpr int kPresses = 2;            // the lifeline's presses in a run
constexpr int kUsedUpCount = 4;        // lifeCount once the lifeline is used up
constexpr int kDrawnEntries = 30;      // a question draw picks one of the entries 0 .. 29
constexpr int kFirstSpareEntry = 30;   // entries 30 .. 36 stand in for repeated draws, in that order
constexpr int kSpares = 7;
constexpr int kPraiseSlots = 4;        // a praise draw picks one of the slots 0 .. 3
constexpr double kPoints = 12;         // the message line, the question and its options
constexpr int kMaxEvents = 4000;

// SplitMix64, for the player and for chance: cheap to seed, which counts where every question draw re-seeds.
class SplitMix {
public:
    using result_type = std::uint64_t;
    explicit SplitMix(std::uint64_t seed = 0) : m_state(seed) {}
    static constexpr result_type min() { return 0; }
    static constexpr result_type max() { return ~result_type{0}; }
    result_type operator()()
    {
        const std::uint64_t r = mix(m_state);
        m_state += 0x9E3779B97F4A7C15ull;
        return r;
    }

private:
    std::uint64_t m_state;
};

// The clock-seeded source as the program has it, with the clock simulated: reseed() starts the sequence
// that the clock's current tick selects, and the player's pace moves the clock on. On a coarse clock two
// quick question draws share a seed, so repeated draws, the spare entries and the rule past the seventh
// repeat are all reached often.
class ClockSeededRandom final : public RandomSource {
public:
    ClockSeededRandom(std::uint64_t tick, std::uint64_t resolution) : m_tick(tick), m_resolution(resolution) {}
    void pass(std::uint64_t ticks) { m_tick += ticks; }
    void reseed() override
    {
        ++reseeds;
        m_engine = SplitMix(m_tick / m_resolution);
    }
    double draw() override
    {
        ++draws;
        last = static_cast<double>(m_engine() >> 11) * 0x1.0p-53;   // 0 <= r < 1
        return last;
    }
    int reseeds = 0;
    int draws = 0;
    double last = 0;   // the value of the latest draw

private:
    SplitMix m_engine;
    std::uint64_t m_tick;
    std::uint64_t m_resolution;
};

// A fine clock, a coarse one, and one so coarse that most question draws of a game share their seed.
constexpr std::array<std::uint64_t, 3> kClockResolutions{1, 1500, 40000};

enum class Event { Activate, ShowOptions, Lifeline, Next, Quit, Box1, Box2, Box3, Box4, Timer };
constexpr int kEventKinds = 10;
const char *const kEventNames[] = {"activate", "options", "50-50", "next", "quit", "box1", "box2", "box3", "box4", "timer"};

Event boxEvent(int option) { return static_cast<Event>(static_cast<int>(Event::Box1) + option - 1); }

// Where the game stands, as the rules say it must after each event.
enum class Phase { Posed, Shown, Right, Lost, Won, Quitting, Farewell };
const char *const kPhaseNames[] = {"posed", "shown", "right", "lost", "won", "quitting", "farewell"};

struct Model {
    Phase phase = Phase::Posed;
    Phase ending = Phase::Posed;          // how the game ended, once the farewell is up
    int questions = 1;                    // questions put up in this game
    int presses = 0;                      // lifeline presses
    int repeats = 0;                      // question draws that found their entry already asked
    int praises = 0;                      // praise draws
    int praiseSlot = -1;                  // the slot the latest praise draw picks
    int chosen = 0;                       // the option judged on this question; 0 before
    bool happyAtQuit = false;
    std::array<bool, 4> blanked{};        // options the lifeline removed from this question
    std::array<bool, kBankSize> shown{};

    bool usedUp() const { return presses >= kPresses; }
    bool ended() const { return phase == Phase::Lost || phase == Phase::Won || phase == Phase::Quitting; }
};

class RandomGame {
public:
    RandomGame(std::uint64_t seed, std::ostream *trace)
        : m_player(mix(seed ^ 0xA5A5A5A5u)), m_random(mix(seed), kClockResolutions[mix(seed + 7) % 3]), m_trace(trace)
    {
    }

    std::string play(GameTotals &totals);

private:
    std::string step(Event e, GameTotals &totals);
    std::string putUp(int drawn, Model &next) const;
    std::string check() const;
    std::string farewell(GameTotals &totals);
    void apply(Event e);

    // What an event that must do nothing may not change besides the screen: the game state, chance, screens.
    struct Snapshot {
        int qIndex, praiseIndex, qSpare, qCount, lifeCount;
        std::array<bool, kBankSize> qAsked;
        int draws, reseeds;
        std::size_t screenCalls;
        bool operator==(const Snapshot &) const = default;
    };
    Snapshot snapshot() const
    {
        const GameState &s = m_game.state();
        return {s.qIndex, s.praiseIndex, s.qSpare, s.qCount, s.lifeCount, s.qAsked, m_random.draws, m_random.reseeds,
                m_screens.calls.size()};
    }
    const GameState &state() const { return m_game.state(); }

    SplitMix m_player;
    ClockSeededRandom m_random;
    RecordingSwitcher m_screens;
    QuestionGame m_game{m_random, m_screens};
    std::ostream *m_trace;
    Model m_model;
    QuestionControls m_before;   // the screen before the event in play, reused so that its texts keep their room
    QuestionControls m_atEnd;    // the screen when the end timer fired
};

std::string RandomGame::play(GameTotals &totals)
{
    m_game.load();
    QuestionControls loaded;   // every control as the screen is built, then the three that loading turns off
    loaded.lifeline.enabled = false;
    loaded.next.enabled = false;
    loaded.endTimer.running = false;
    if (!(m_game.controls() == loaded) || m_random.draws != 0 || !m_screens.calls.empty())
        return "loading the screen did more than turn off 50-50, Next Question and the end timer";

    m_game.activate();
    const int drawn = static_cast<int>(m_random.last * kDrawnEntries);
    if (state().qIndex != drawn)
        return "the first question is entry " + std::to_string(state().qIndex) + ", not the drawn " + std::to_string(drawn);
    m_model.shown[static_cast<std::size_t>(drawn)] = true;
    if (std::string why = check(); !why.empty())
        return "after the first activation: " + why;

    // This player's habits: how often they know the answer, and how often they quit.
    const double skill = std::array<double, 4>{0.25, 0.6, 0.9, 1.0}[m_player() % 4];
    const double quitWeight = std::array<double, 3>{0.0, 0.3, 2.0}[m_player() % 3];
    const std::array<double, kEventKinds> weights{0.3, 4, 2, 4, quitWeight, 1, 1, 1, 1, 1.5};
    std::discrete_distribution<int> pick(weights.begin(), weights.end());
    std::uniform_real_distribution<double> chance(0, 1);
    std::uniform_int_distribution<std::uint64_t> pace(1, 2000);

    for (int e = 1; e <= kMaxEvents; ++e) {
        auto event = static_cast<Event>(pick(m_player));
        if (event >= Event::Box1 && event <= Event::Box4 && chance(m_player) < skill)
            event = boxEvent(expectedCorrect(state().qIndex));
        m_random.pass(pace(m_player));
        ++totals.events;
        const Phase phase = m_model.phase;
        const char *name = kEventNames[static_cast<int>(event)];
        if (m_trace != nullptr)
            *m_trace << "  " << e << ": " << name << " in phase " << kPhaseNames[static_cast<int>(phase)] << ", entry "
                     << state().qIndex << "\n";
        if (std::string why = step(event, totals); !why.empty())
            return "event " + std::to_string(e) + " (" + name + " in phase " + kPhaseNames[static_cast<int>(phase)] + "): " + why;
        if (m_model.phase == Phase::Farewell)
            return farewell(totals);
    }
    return "no farewell after " + std::to_string(kMaxEvents) + " events";
}

std::string RandomGame::step(Event e, GameTotals &totals)
{
    const int entry = state().qIndex;
    const int option = e >= Event::Box1 && e <= Event::Box4 ? static_cast<int>(e) - static_cast<int>(Event::Box1) + 1 : 0;

    // What the event must do in this phase; an event not meant to do anything must change nothing at all.
    const Phase phase = m_model.phase;
    Model next = m_model;
    bool effective = false;
    switch (e) {
    case Event::Activate:   // a run holds one game: a later activation leaves it as it stands
        break;
    case Event::ShowOptions:
        effective = phase == Phase::Posed;
        next.phase = Phase::Shown;
        break;
    case Event::Lifeline:
        effective = phase == Phase::Shown && !m_model.usedUp();
        ++next.presses;
        for (int n : expectedBlanked(entry))
            next.blanked[static_cast<std::size_t>(n - 1)] = true;
        break;
    case Event::Next:
        effective = phase == Phase::Right;
        next.phase = Phase::Posed;
        ++next.questions;
        next.blanked = {};
        next.chosen = 0;
        break;
    case Event::Quit:
        effective = phase == Phase::Shown || phase == Phase::Right;
        next.phase = Phase::Quitting;
        next.happyAtQuit = phase == Phase::Right;
        break;
    case Event::Timer:
        effective = m_model.ended();
        next.phase = Phase::Farewell;
        next.ending = phase;
        break;
    default:   // a box: judged only beside a shown option
        effective = phase == Phase::Shown && !m_model.blanked[static_cast<std::size_t>(option - 1)];
        next.chosen = option;
        if (option != expectedCorrect(entry)) {
            next.phase = Phase::Lost;
        } else if (m_model.questions == kQuestions) {
            next.phase = Phase::Won;
        } else {
            next.phase = Phase::Right;
            ++next.praises;
        }
        break;
    }

    // The screen before the event, kept only where it is compared with the screen after.
    const bool keep = !effective || e == Event::Timer;
    if (keep)
        m_before = m_game.controls();
    const Snapshot before = keep ? snapshot() : Snapshot{};

    apply(e);

    if (!effective) {
        if (!(m_game.controls() == m_before))
            return "an event that must do nothing changed the screen";
        if (snapshot() != before)
            return "an event that must do nothing changed the game, drew from chance or switched a screen";
        return {};   // nothing changed, so the last check still holds
    }
    if (e == Event::Next) {
        if (std::string why = putUp(static_cast<int>(m_random.last * kDrawnEntries), next); !why.empty())
            return why;
    }
    if (next.phase == Phase::Right && phase == Phase::Shown) {
        next.praiseSlot = static_cast<int>(m_random.last * kPraiseSlots);
        ++totals.praise[static_cast<std::size_t>(next.praiseSlot)];
    }
    if (e == Event::Timer)
        m_atEnd = m_before;
    m_model = next;
    return check();
}

// "Next Question" drew `drawn`: a fresh entry stands as drawn, a repeat takes the next spare and, once the
// seven spares are used, the lowest entry not yet shown.
std::string RandomGame::putUp(int drawn, Model &next) const
{
    const bool repeat = m_model.shown[static_cast<std::size_t>(drawn)];
    int expected = drawn;
    if (repeat && m_model.repeats < kSpares) {
        expected = kFirstSpareEntry + m_model.repeats;
    } else if (repeat) {
        const auto lowest = std::find(m_model.shown.begin(), m_model.shown.end(), false);
        expected = static_cast<int>(lowest - m_model.shown.begin());
    }
    if (state().qIndex != expected)
        return "the draw of entry " + std::to_string(drawn) + (repeat ? " (a repeat)" : "") + " put up entry " +
               std::to_string(state().qIndex) + ", not " + std::to_string(expected);
    next.repeats += repeat ? 1 : 0;
    next.shown[static_cast<std::size_t>(expected)] = true;
    return {};
}

// Returns the first rule the screen and the game state break in the model's phase, or "".
std::string RandomGame::check() const
{
    const QuestionControls &c = m_game.controls();
    const GameState &s = state();
    const Model &m = m_model;
#define RULE(condition)                                                                                         \
    do {                                                                                                        \
        if (!(condition))                                                                                       \
            return std::string("in phase ") + kPhaseNames[static_cast<int>(m.phase)] + ", broken: " #condition; \
    } while (false)

    // Every phase.
    RULE(s.qIndex >= 0 && s.qIndex < kBankSize);
    RULE(s.qAsked == m.shown);
    RULE(s.qSpare == kFirstSpareEntry + std::min(m.repeats, kSpares));
    RULE(s.lifeCount == (m.presses == 0 ? 0 : m.presses == 1 ? 1 : kUsedUpCount));
    RULE(m_random.reseeds == m.questions);   // each question draw re-seeds, a praise draw does not
    RULE(m_random.draws == m.questions + m.praises);
    RULE(std::count_if(c.boxes.begin(), c.boxes.end(), [](const CheckBox &b) { return b.ticked; }) == (m.chosen != 0 ? 1 : 0));
    RULE(c.endTimer.running == m.ended());
    const bool farewell = m.phase == Phase::Farewell;
    RULE(m_screens.calls.size() == (farewell ? 2u : 1u) && m_screens.calls[0] == kHideTitle);
    if (farewell) {
        RULE(m_screens.calls[1] == kShowFarewell);
        QuestionControls expected = m_atEnd;   // the question screen stays as the game left it
        expected.endTimer.running = false;
        RULE(c == expected);
        return {};
    }

    // What is on screen: after a win only the message and the smiling face; after a quit the pictures too.
    const bool won = m.phase == Phase::Won;
    const bool hidden = won || m.phase == Phase::Quitting;
    for (const Button *b : {&c.showOptions, &c.next, &c.quit})
        RULE(b->visible == !hidden);
    RULE(c.lifeline.visible == (!hidden && !m.usedUp()));
    RULE(c.question.visible == !hidden && c.number.visible == !hidden);
    for (std::size_t i = 0; i < 4; ++i)
        RULE(c.options[i].visible == !hidden && c.boxes[i].visible == !hidden);
    RULE(c.optionFrames.visible == !won && c.questionFrame.visible == !won);
    RULE(c.lifelineUsed.visible == (m.usedUp() && !won));
    RULE(c.happyFace.visible == (m.phase == Phase::Right || won || (m.phase == Phase::Quitting && m.happyAtQuit)));
    RULE(c.sadFace.visible == (m.phase == Phase::Lost));
    RULE(c.message.visible && c.message.pointSize == kPoints);
    if (won) {
        RULE(s.qCount == kWonCount);
        RULE(c.message.caption == texts::kWon && c.message.text == colours::kHighlight3d);
        return {};
    }
    RULE(s.qCount == m.questions);
    if (m.phase == Phase::Quitting) {
        RULE(c.message.caption == texts::kGoodbye && c.message.text == colours::kWhite);
        return {};
    }

    // A question on screen, posed, shown or judged.
    RULE(c.number.caption == std::to_string(m.questions));
    RULE(c.question.caption == bankEntry(s.qIndex).question);
    RULE(c.question.text == colours::kWhite && c.question.pointSize == kPoints);
    const int correct = expectedCorrect(s.qIndex);
    const Colour plainBack = m.questions == 1 ? colours::kButtonText : colours::kWindowText;
    for (int n = 1; n <= 4; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        const Label &l = c.options[i];
        const CheckBox &b = c.boxes[i];
        RULE(l.pointSize == kPoints);
        if (m.phase == Phase::Posed) {
            RULE(l.caption.empty() && b.enabled);
            RULE(l.text == colours::kWhite && l.back == plainBack);
            continue;
        }
        RULE(l.caption == (m.blanked[i] ? std::string_view{} : bankEntry(s.qIndex).options[i]));
        if (m.phase == Phase::Shown) {
            RULE(b.enabled == !m.blanked[i]);
            RULE(l.text == colours::kWhite && l.back == plainBack);
            continue;
        }
        RULE(!b.enabled && b.ticked == (n == m.chosen));
        RULE(l.text == (n == correct ? colours::kBlue : colours::kWhite));
        RULE(l.back == (n == correct ? colours::kLightGreen : n == m.chosen ? colours::kOrange : plainBack));
    }
    switch (m.phase) {
    case Phase::Posed:
        RULE(c.showOptions.enabled && !c.lifeline.enabled && !c.next.enabled && !c.quit.enabled);
        RULE(c.message.caption == (m.questions == 1 ? texts::kReminder : std::string_view{}));
        RULE(c.message.text == colours::kWhite);
        break;
    case Phase::Shown:
        RULE(!c.showOptions.enabled && c.lifeline.usable() == !m.usedUp() && !c.next.enabled && c.quit.enabled);
        RULE(c.message.caption.empty());
        RULE(!c.options[static_cast<std::size_t>(correct - 1)].caption.empty());   // 50-50 leaves the right answer
        break;
    case Phase::Right:
        RULE(!c.showOptions.enabled && !c.lifeline.enabled && c.next.enabled && c.quit.enabled);
        RULE(s.praiseIndex == m.praiseSlot);
        RULE(c.message.caption == praiseMessages()[static_cast<std::size_t>(m.praiseSlot)]);
        RULE(c.message.text == colours::kWhite);
        break;
    case Phase::Lost:
        RULE(!c.showOptions.enabled && !c.lifeline.enabled && !c.next.enabled && !c.quit.enabled);
        RULE(c.message.caption == texts::kWrong && c.message.text == colours::kRed);
        break;
    default:
        break;
    }
#undef RULE
    return {};
}

// The game has reached the farewell screen: nothing may change any more, whatever is pressed.
std::string RandomGame::farewell(GameTotals &totals)
{
    const auto before = snapshot();
    for (int k = 0; k < kEventKinds; ++k)
        apply(static_cast<Event>(k));
    if (snapshot() != before)
        return "an event after the farewell changed the game, drew from chance or switched a screen";
    if (std::string why = check(); !why.empty())
        return "after every kind of event at the farewell: " + why;
    for (int k = 0; k < kBankSize; ++k)
        if (state().strQuestion[static_cast<std::size_t>(k)] != bankEntry(k).question)
            return "the loaded text of question " + std::to_string(k) + " changed during the game";
    for (std::size_t slot = 0; slot < praiseMessages().size(); ++slot)
        if (state().strPraise[slot] != praiseMessages()[slot])
            return "the loaded praise in slot " + std::to_string(slot) + " changed during the game";

    ++totals.games;
    ++(m_model.ending == Phase::Won ? totals.won : m_model.ending == Phase::Lost ? totals.lost : totals.quit);
    totals.pastTheSpares += m_model.repeats > kSpares ? 1 : 0;
    return {};
}

void RandomGame::apply(Event e)
{
    switch (e) {
    case Event::Activate: m_game.activate(); break;
    case Event::ShowOptions: m_game.pressShowOptions(); break;
    case Event::Lifeline: m_game.pressLifeline(); break;
    case Event::Next: m_game.pressNext(); break;
    case Event::Quit: m_game.pressQuit(); break;
    case Event::Timer: m_game.timerFired(); break;
    default: m_game.clickBox(static_cast<int>(e) - static_cast<int>(Event::Box1) + 1); break;
    }
}

}  // namespace

std::uint64_t gameSeed(std::uint64_t base, int shard, std::uint64_t game)
{
    return mix(base ^ mix((static_cast<std::uint64_t>(shard) << 32) + game));
}

std::string playGame(std::uint64_t seed, GameTotals &totals, std::ostream *trace)
{
    return RandomGame(seed, trace).play(totals);
}

}  // namespace quiz::testing
