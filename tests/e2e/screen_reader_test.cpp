// A blind player's game, played on the keyboard and followed by ear: Orca listens to the real game
// on the session's bus, and every step is checked against what Orca spoke, not against the screen.

// Own
#include "e2e.h"
#include "driver/screen_reader.h"
#include "quiz/question_bank.h"

// Standard
#include <iostream>

namespace e2e {
namespace {

using driver::normalisedSpeech;
using driver::ScreenReader;

using ByEar = E2e;

std::string optionSpoken(const quiz::BankEntry &entry, int option)
{
    return "Option " + std::to_string(option) + ": " +
           std::string(quiz::trimSpaces(entry.options[static_cast<std::size_t>(option - 1)]));
}

bool isPraise(const std::string &utterance)
{
    for (const std::string_view praise : quiz::praiseMessages())
        if (utterance.find(normalisedSpeech(praise)) != std::string::npos)
            return true;
    return false;
}

// From the title screen on, a right answer, a wrong one, the farewell and the end, each step heard
// from Orca: the question read with its number, the first option with its role, a praise and the
// focus on Next Question, the consolation with the right option's number, the farewell about six
// seconds after, and a key there ending the game with status 0.
void aGameIsSpokenFromTheFirstQuestion(driver::Session &s, ScreenReader &reader, driver::Process &game)
{
    // A key brings question n, heard with its number; Space on the focused options button shows
    // the options, and the focus on the first of them says it. Whether the button's own name is
    // spoken as the key brings it is Orca's choice: Orca 48 takes the focus in the window the key
    // opened as the key's own result, and says only what changes from there, the question.
    auto mark = reader.mark();
    const auto posedAndRevealed = [&](const std::string &key, int n) {
        mark = reader.mark();
        EXPECT_TRUE(s.key(key));
        const std::string spoken = reader.waitFor("Question " + std::to_string(n) + ": ", 5s, mark);
        const quiz::BankEntry *entry = driver::questionSaid(spoken, n);
        if (entry == nullptr)
            throw driver::Failure("no question of the bank in '" + spoken + "'");
        mark = reader.mark();
        EXPECT_TRUE(s.key("space"));
        reader.waitFor(optionSpoken(*entry, 1), 5s, mark);
        reader.waitFor("check box", 5s, mark);
        return entry;
    };

    // The first question and a right answer.
    const quiz::BankEntry *first = posedAndRevealed("space", 1);
    mark = reader.mark();
    ASSERT_TRUE(s.key(std::to_string(first->correct)));
    reader.waitFor(isPraise, "a praise", 5s, mark);
    reader.waitFor("Next Question", 5s, mark);

    // The second question, and a wrong answer, once Orca would say the new question.
    reader.waitUntilOrcaForgets();
    const quiz::BankEntry *second = posedAndRevealed("Return", 2);
    const int wrong = second->correct == 1 ? 2 : 1;
    mark = reader.mark();
    ASSERT_TRUE(s.key(std::to_string(wrong)));
    const auto answered = driver::Clock::now();
    reader.waitFor("Afsos!! yeh galat jawab hamare sath bhag lene ka shukriya.....", 5s, mark);
    reader.waitFor("The right answer was option " + std::to_string(second->correct), 5s, mark);

    // The farewell screen, and the end.
    mark = reader.mark();
    reader.waitFor("Have you enjoyed it", 10s, mark);
    const double farewell = seconds(driver::Clock::now() - answered);
    std::cout << "farewell spoken " << farewell << " s after the wrong answer" << std::endl;
    EXPECT_GE(farewell, 5.5) << "the farewell came before its time";
    for (const char *text : {"Takes due care of yourself", "tarvelo@example.org", "Press any key to end the program"})
        reader.waitFor(text, 3s, mark);

    ASSERT_TRUE(s.key("space"));
    EXPECT_EQ(game.waitExit(2s), 0);

    std::cout << "Orca spoke:" << std::endl;
    for (const std::string &utterance : reader.spoken())
        std::cout << "    '" << utterance << "'" << std::endl;
}

// The title's prompts and credits, then a whole game, heard from a screen reader that was there
// before the game.
TEST_F(ByEar, AKeyboardGameIsSpokenStepByStep)
{
    driver::Session &s = session({.sessionBus = true});
    ScreenReader reader(s);
    const auto started = driver::Clock::now();
    driver::Process &game = s.launch({gamePath()}, {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1"});

    reader.waitFor("Tarvelo ?", 10s);
    for (const char *text : {"Press any key to continue quizzing....", "Press 'Esc' to Abort Quiz",
                             "Inspired From - Pravikon ?", "Written and Developed By : - Tarvelo team",
                             "Its for fun and no actual prizes and honours for it"})
        reader.waitFor(text, 3s);
    aGameIsSpokenFromTheFirstQuestion(s, reader, game);
    std::cout << "the game took " << seconds(driver::Clock::now() - started) << " s" << std::endl;
}

// How a player turns a screen reader on while the game runs, each from an account with nothing
// stored: the desktop's accessibility bus starts with assistive technology off, or not at all.
enum class TurnedOn {
    // The desktop's switch sets ScreenReaderEnabled, as GNOME's does, and Orca comes up after it;
    // the accessibility bus runs since login.
    ByTheDesktopsSwitch,
    // Orca started from a menu or a terminal sets IsEnabled itself as it starts; the accessibility
    // bus runs since login.
    ByOrcaOnTheLoginsBus,
    // The same, with no accessibility bus until Orca's own request starts it.
    ByOrcaStartingTheBus,
};

class ScreenReaderTurnedOn : public E2e, public ::testing::WithParamInterface<TurnedOn> {};

TEST_P(ScreenReaderTurnedOn, DuringTheGameHearsItFromThen)
{
    const TurnedOn way = GetParam();
    driver::Session &s = session({.sessionBus = true, .accessibilityBus = way != TurnedOn::ByOrcaStartingTheBus});
    driver::Process &game = s.launch({gamePath()}, {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON"});
    // The game reads the status as its accessibility starts, before the title's first frame: from
    // here on, the screen reader comes late.
    s.waitForScreen(driver::Screen::Title, 10s);
    ASSERT_EQ(s.busNameOwned("org.a11y.Bus"), way != TurnedOn::ByOrcaStartingTheBus);
    if (way == TurnedOn::ByTheDesktopsSwitch)
        s.setAccessibilityStatus("ScreenReaderEnabled", true);
    ScreenReader reader(s);
    aGameIsSpokenFromTheFirstQuestion(s, reader, game);
}

INSTANTIATE_TEST_SUITE_P(ByEar, ScreenReaderTurnedOn,
                         ::testing::Values(TurnedOn::ByTheDesktopsSwitch, TurnedOn::ByOrcaOnTheLoginsBus,
                                           TurnedOn::ByOrcaStartingTheBus),
                         [](const ::testing::TestParamInfo<TurnedOn> &info) {
                             switch (info.param) {
                             case TurnedOn::ByTheDesktopsSwitch:
                                 return "ByTheDesktopsSwitch";
                             case TurnedOn::ByOrcaOnTheLoginsBus:
                                 return "ByOrcaOnTheLoginsBus";
                             case TurnedOn::ByOrcaStartingTheBus:
                                 return "ByOrcaStartingTheBus";
                             }
                             return "unknown";
                         });

}  // namespace
}  // namespace e2e
