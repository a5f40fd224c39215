// The 50-50 lifeline: which options it removes, its two presses in a game, and what is left on screen.

// Own
#include "quiz/question_game.h"
#include "quiz_fakes.h"

// Standard
#include <array>
#include <string>

#include <gtest/gtest.h>

namespace quiz {
namespace {

using testing::GameFixture;
using testing::stateTie;

// The options on screen after the lifeline removed the pair `removed` from entry `index`.
void expectPairRemoved(const GameFixture &f, int index, std::array<int, 2> removed)
{
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE("option " + std::to_string(n));
        const auto i = static_cast<std::size_t>(n - 1);
        const bool blanked = n == removed[0] || n == removed[1];
        EXPECT_EQ(f.controls().options[i].caption, blanked ? std::string_view{} : bankEntry(index).options[i]);
        EXPECT_EQ(f.controls().boxes[i].enabled, !blanked);
        EXPECT_FALSE(f.controls().boxes[i].ticked);
    }
}

TEST(Lifeline, FirstPressRemovesTheWrongPairOfTheQuestionsRange)
{
    struct Case { int entry; std::array<int, 2> removed; };
    const Case cases[] = {{5, {2, 3}}, {0, {2, 3}}, {11, {2, 3}}, {12, {1, 4}}, {24, {1, 4}}, {25, {2, 3}}, {30, {2, 3}}, {36, {2, 3}}};
    for (const Case &c : cases) {
        SCOPED_TRACE("entry " + std::to_string(c.entry));
        GameFixture f;
        f.poseEntry(c.entry);
        f.reveal();
        f.game.pressLifeline();
        expectPairRemoved(f, c.entry, c.removed);
        EXPECT_EQ(f.state().lifeCount, 1);
        EXPECT_TRUE(f.controls().lifeline.enabled);
        EXPECT_TRUE(f.controls().lifeline.visible);
        EXPECT_FALSE(f.controls().lifelineUsed.visible);
        EXPECT_TRUE(f.controls().quit.enabled) << "the question is still open";
    }
}

TEST(Lifeline, RemovedOptionsCannotBeTickedAndTheOtherWrongOneLoses)
{
    GameFixture f;
    f.start(15);   // options 1 and 4 go; 2 and 3 are left, 3 being correct
    f.reveal();
    f.game.pressLifeline();
    const QuestionControls before = f.controls();
    f.game.clickBox(1);
    f.game.clickBox(4);
    EXPECT_EQ(f.controls(), before);
    f.answer(2);
    EXPECT_EQ(f.controls().message.caption, texts::kWrong);
    EXPECT_EQ(f.controls().options[1].back, colours::kOrange);
    EXPECT_EQ(f.controls().options[2].back, colours::kLightGreen);
    EXPECT_EQ(f.controls().options[2].text, colours::kBlue);
    EXPECT_EQ(f.controls().options[2].caption, "3. Relationship");
}

void expectUsedUp(const GameFixture &f)
{
    EXPECT_EQ(f.state().lifeCount, kLifelineUsedUp);
    EXPECT_FALSE(f.controls().lifeline.visible);
    EXPECT_FALSE(f.controls().lifeline.usable());
    EXPECT_TRUE(f.controls().lifelineUsed.visible);
    EXPECT_EQ(f.controls().lifelineUsed.caption, "Lifeline Used");
}

TEST(Lifeline, TwoPressesOnOneQuestionUseItUpAndChangeNoOption)
{
    GameFixture f;
    f.start(20);
    f.reveal();
    f.game.pressLifeline();
    const auto optionsAfterFirst = f.controls().options;
    const auto boxesAfterFirst = f.controls().boxes;
    f.game.pressLifeline();
    EXPECT_EQ(f.controls().options, optionsAfterFirst);
    EXPECT_EQ(f.controls().boxes, boxesAfterFirst);
    expectUsedUp(f);
    EXPECT_TRUE(f.controls().quit.enabled);
}

TEST(Lifeline, OnePressOnEachOfTwoQuestionsRemovesEachPair)
{
    GameFixture f;
    f.start(3);
    f.reveal();
    f.game.pressLifeline();
    expectPairRemoved(f, 3, {2, 3});
    f.answerRight();
    f.next(17);
    f.reveal();
    // The removal lasted for its question only.
    for (int n = 1; n <= 4; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        EXPECT_EQ(f.controls().options[i].caption, bankEntry(17).options[i]) << "option " << n;
        EXPECT_TRUE(f.controls().boxes[i].usable()) << "option " << n;
    }
    EXPECT_TRUE(f.controls().lifeline.usable());
    EXPECT_EQ(f.state().lifeCount, 1);
    f.game.pressLifeline();
    expectPairRemoved(f, 17, {1, 4});
    expectUsedUp(f);
}

TEST(Lifeline, UsedUpButtonNeverComesBack)
{
    GameFixture f;
    f.start(8);
    f.reveal();
    f.game.pressLifeline();
    f.game.pressLifeline();
    f.answerRight();
    for (int d : {9, 26, 13}) {
        f.next(d);
        expectUsedUp(f);
        f.reveal();
        expectUsedUp(f);
        const QuestionControls before = f.controls();
        const GameState stateBefore = f.state();
        f.game.pressLifeline();   // a hidden button raises nothing
        EXPECT_EQ(f.controls(), before);
        EXPECT_EQ(stateTie(f.state()), stateTie(stateBefore));
        for (const auto &label : f.controls().options)
            EXPECT_FALSE(label.caption.empty());
        f.answerRight();
        expectUsedUp(f);
    }
}

TEST(Lifeline, QuitKeepsLifelineUsedOnScreenAndAWinHidesIt)
{
    {
        SCOPED_TRACE("quit");
        GameFixture f;
        f.start(1);
        f.reveal();
        f.game.pressLifeline();
        f.game.pressLifeline();
        f.game.pressQuit();
        EXPECT_TRUE(f.controls().lifelineUsed.visible);
        EXPECT_EQ(f.controls().message.caption, texts::kGoodbye);
    }
    {
        SCOPED_TRACE("win");
        GameFixture f;
        f.poseQuestion(15);
        f.reveal();
        f.game.pressLifeline();
        f.game.pressLifeline();
        ASSERT_TRUE(f.controls().lifelineUsed.visible);
        f.answerRight();
        EXPECT_EQ(f.state().qCount, kWonMark);
        EXPECT_FALSE(f.controls().lifelineUsed.visible);
        EXPECT_EQ(f.state().lifeCount, kLifelineUsedUp);
    }
}

}  // namespace
}  // namespace quiz
