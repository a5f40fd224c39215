// Whole games played on the keyboard alone, as a player who knows the bank plays them: each
// question is read from the game's accessibility tree (the description its options button
// carries), Space shows the options, a digit answers, Enter brings the next question.

// Own
#include "e2e.h"
#include "quiz/question_game.h"

// Standard
#include <string>

namespace e2e {
namespace {

using driver::Screen;

using KeyboardGame = E2e;

// The game started as a login starts it, beside a session bus, its accessibility on for the reader
// of its tree.
driver::Process &startedForTheReader(driver::Session &s)
{
    driver::Process &game = s.launch({gamePath()}, {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1"});
    s.waitForScreen(Screen::Title, 10s);
    return game;
}

// The question numbered `number` that the game asks, from its tree.
const quiz::BankEntry &questionAsked(driver::Session &s, int number)
{
    const auto timeout = driver::patience(10s);
    // Not one of the session's launches, which it takes for the game.
    driver::Process reader({"/usr/bin/python3", TARVELO_QUESTION_ASKED, std::to_string(number),
                            std::to_string(timeout.count() / 1000)},
                           s.environment({"DBUS_SESSION_BUS_ADDRESS=" + s.busAddress()}), s.folder() + "/question.log");
    if (reader.waitExit(timeout + 5s) != 0)
        s.fail("the game's tree named no question " + std::to_string(number) + ": " + reader.output());
    std::string said = reader.output();
    said.erase(said.find_last_not_of('\n') + 1);
    const quiz::BankEntry *entry = driver::questionSaid(said, number);
    if (entry == nullptr)
        s.fail("no question of the bank in '" + said + "'");
    return *entry;
}

// Fifteen right answers, the win, the farewell about six seconds later, a key there, status 0.
TEST_F(KeyboardGame, AWholeGameIsWonByKeys)
{
    driver::Session &s = session({.sessionBus = true});
    driver::Process &game = startedForTheReader(s);
    s.key("a");
    for (int number = 1; number <= quiz::kLastQuestion; ++number) {
        SCOPED_TRACE("question " + std::to_string(number));
        s.waitForScreen(Screen::Question, 5s);
        const quiz::BankEntry &asked = questionAsked(s, number);
        driver::revealOptionsBySpace(s);
        const int judged = driver::answerByKey(s, std::to_string(asked.correct));
        if (number == quiz::kLastQuestion) {
            EXPECT_EQ(judged, 0) << "the win leaves no option on the screen";
            break;
        }
        ASSERT_EQ(judged, asked.correct) << "judged otherwise";
        s.key("Return");
    }
    s.waitForScreen(Screen::Farewell, 10s);
    s.key("x");
    EXPECT_EQ(game.waitExit(5s), 0);
}

// A wrong first answer, the farewell about six seconds later, a key there, status 0.
TEST_F(KeyboardGame, AWrongAnswerEndsTheGameWithItsFarewell)
{
    driver::Session &s = session({.sessionBus = true});
    driver::Process &game = startedForTheReader(s);
    s.key("a");
    s.waitForScreen(Screen::Question, 5s);
    const quiz::BankEntry &asked = questionAsked(s, 1);
    driver::revealOptionsBySpace(s);
    const int wrong = asked.correct % 4 + 1;
    EXPECT_EQ(driver::answerByKey(s, std::to_string(wrong)), wrong);
    const driver::Judgement judged = driver::readJudgement(s);
    EXPECT_EQ(judged.correct, asked.correct);
    EXPECT_EQ(judged.wrong, wrong);
    s.waitForScreen(Screen::Farewell, 10s);
    s.key("x");
    EXPECT_EQ(game.waitExit(5s), 0);
}

}  // namespace
}  // namespace e2e
