// What a screen reader hears on the question screen and where the keyboard focus rests, event by
// event of real games.

// Own
#include "quiz/spoken.h"
#include "quiz_fakes.h"

// Standard
#include <functional>
#include <string>

#include <gtest/gtest.h>

namespace quiz {

// Readable failure output, found by GoogleTest in the value's namespace.
void PrintTo(Control c, std::ostream *os)
{
    static const char *const kNames[] = {"None", "ShowOptions", "Next", "Quit", "Lifeline", "Box1", "Box2", "Box3", "Box4"};
    *os << kNames[static_cast<int>(c)];
}

namespace {

using testing::GameFixture;

// One event of a game: what it announced and where it sent the focus from `focused`.
struct Heard {
    std::string said;
    Control focus;
};
Heard after(GameFixture &f, const std::function<void()> &event, Control focused = Control::None)
{
    const QuestionControls before = f.controls();
    event();
    return {announcement(before, f.controls(), correctOptionFor(f.index())), focusAfter(before, f.controls(), focused)};
}

std::string option(int entry, int n) { return std::string(trimSpaces(bankEntry(entry).options[static_cast<std::size_t>(n - 1)])); }

TEST(Spoken, TheQuestionIsSaidWithItsNumberAndTheReminderOnlyWhileItShows)
{
    GameFixture f;
    EXPECT_EQ(spokenQuestion(f.controls()), "") << "nothing is posed before the game starts";
    f.start(7);
    EXPECT_EQ(spokenQuestion(f.controls()),
              "Question 1: " + std::string(trimSpaces(bankEntry(7).question)) + " " + std::string(texts::kReminder));
    f.reveal();
    f.answerRight();
    f.next(12);
    EXPECT_EQ(spokenQuestion(f.controls()), "Question 2: " + std::string(trimSpaces(bankEntry(12).question)));
}

TEST(Spoken, BoxesSayWhatTheyAnswerOrWhyTheyCannot)
{
    GameFixture f;
    f.start(12);   // option 3 is right; the lifeline removes 1 and 4
    EXPECT_EQ(boxName(f.controls(), 4), "Option 4");
    EXPECT_EQ(boxDescription(f.controls(), 4), "The options are not shown yet.");
    f.reveal();
    EXPECT_EQ(boxName(f.controls(), 4), "Option 4: " + option(12, 4));
    EXPECT_EQ(boxDescription(f.controls(), 4), "Tick to answer with option 4.");
    f.game.pressLifeline();
    EXPECT_EQ(boxName(f.controls(), 4), "Option 4");
    EXPECT_EQ(boxDescription(f.controls(), 4), "Removed by the 50-50 lifeline.");
    EXPECT_EQ(boxName(f.controls(), 3), "Option 3: " + option(12, 3));
}

TEST(Spoken, EachVerdictAndLifelineIsAnnouncedOnceAndNothingElseIs)
{
    GameFixture f;
    EXPECT_EQ(after(f, [&] { f.start(12); }).said, "") << "the reminder is said with the question instead";
    EXPECT_EQ(after(f, [&] { f.reveal(); }).said, "");
    EXPECT_EQ(after(f, [&] { f.game.pressLifeline(); }).said, "50-50: options 2 and 3 remain.");
    EXPECT_EQ(after(f, [&] { f.answer(3, 0.3); }).said, std::string(trimSpaces(praiseMessages()[1])));
    EXPECT_EQ(after(f, [&] { f.next(0); }).said, "") << "a new question blanks every option without a lifeline";
    f.reveal();
    EXPECT_EQ(after(f, [&] { f.game.pressLifeline(); }).said, "50-50: options 1 and 4 remain. Lifeline Used.");
    EXPECT_EQ(after(f, [&] { f.game.clickBox(2); }).said, "") << "a tick on a removed option is no answer";
    EXPECT_EQ(after(f, [&] { f.answer(4); }).said,
              std::string(trimSpaces(texts::kWrong)) + " The right answer was option 1: " + option(0, 1) + ".");
    EXPECT_EQ(after(f, [&] { f.game.timerFired(); }).said, "");

    GameFixture quitter;
    quitter.start(3);
    quitter.reveal();
    quitter.answerRight();
    EXPECT_EQ(after(quitter, [&] { quitter.game.pressQuit(); }).said, std::string(trimSpaces(texts::kGoodbye)));

    GameFixture winner;
    winner.poseQuestion(kLastQuestion);
    winner.reveal();
    EXPECT_EQ(after(winner, [&] { winner.answerRight(); }).said, std::string(trimSpaces(texts::kWon)));
}

TEST(Focus, RestsWhereTheNextKeyPressMakesSenseAndNeverOnAControlThatCannotBeUsed)
{
    GameFixture f;
    EXPECT_EQ(after(f, [&] { f.start(12); }).focus, Control::ShowOptions);
    EXPECT_EQ(after(f, [&] { f.reveal(); }, Control::ShowOptions).focus, Control::Box1);
    EXPECT_EQ(after(f, [&] { f.game.pressLifeline(); }, Control::Lifeline).focus, Control::Lifeline)
        << "the lifeline can be pressed again";
    EXPECT_EQ(after(f, [&] {}, Control::Box4).focus, Control::Box2) << "a removed option's box cannot be ticked";
    EXPECT_EQ(after(f, [&] { f.answer(3); }, Control::Box2).focus, Control::Next)
        << "Space or Enter goes on after a right answer, and never quits";
    EXPECT_EQ(after(f, [&] { f.next(0); }, Control::Next).focus, Control::ShowOptions);
    f.reveal();
    EXPECT_EQ(after(f, [&] { f.game.pressLifeline(); }, Control::Lifeline).focus, Control::Box1)
        << "the second press hides the lifeline; the first option left takes the focus";
    EXPECT_EQ(after(f, [&] { f.answer(4); }, Control::Box1).focus, Control::None) << "a lost game leaves nothing to use";

    GameFixture quitter;
    quitter.start(3);
    quitter.reveal();
    EXPECT_EQ(after(quitter, [&] { quitter.game.pressQuit(); }, Control::Quit).focus, Control::None);

    GameFixture winner;
    winner.poseQuestion(kLastQuestion);
    winner.reveal();
    EXPECT_EQ(after(winner, [&] { winner.answerRight(); }, Control::Box1).focus, Control::None);
}

}  // namespace
}  // namespace quiz
