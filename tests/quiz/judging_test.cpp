// What a tick on an option box does: the blank-option guard, right and wrong answers, praise and the win.

// Own
#include "quiz/question_game.h"
#include "quiz_fakes.h"

// Standard
#include <cmath>
#include <string>

#include <gtest/gtest.h>

namespace quiz {
namespace {

using testing::ClickRecord;
using testing::expectedCorrect;
using testing::GameFixture;
using testing::stateTie;

const Label &optionLabel(const GameFixture &f, int n) { return f.controls().options[static_cast<std::size_t>(n - 1)]; }
const CheckBox &optionBox(const GameFixture &f, int n) { return f.controls().boxes[static_cast<std::size_t>(n - 1)]; }

// Checks the judged boxes and labels shared by right and wrong answers: all boxes off, only `ticked` ticked,
// the correct option blue on light green, `orange` (0 for none) on orange, every other label as it was shown:
// on the label's built-in back colour on question 1, on the window-text colour that "Next Question" sets after it.
void expectJudgedOptions(const GameFixture &f, int ticked, int correct, int orange)
{
    const Colour plainBack = f.state().qCount == 1 ? colours::kButtonText : colours::kWindowText;
    for (int n = 1; n <= 4; ++n) {
        SCOPED_TRACE("option " + std::to_string(n));
        EXPECT_FALSE(optionBox(f, n).enabled);
        EXPECT_EQ(optionBox(f, n).ticked, n == ticked);
        const Label &label = optionLabel(f, n);
        EXPECT_EQ(label.caption, bankEntry(f.index()).options[static_cast<std::size_t>(n - 1)]) << "captions stay";
        EXPECT_EQ(label.text, n == correct ? colours::kBlue : colours::kWhite);
        const Colour back = n == correct ? colours::kLightGreen : n == orange ? colours::kOrange : plainBack;
        EXPECT_EQ(label.back, back);
    }
}

TEST(Judging, RightAndWrongFollowTheRangeBounds)
{
    struct Case { int entry; int ticked; bool right; };
    const Case cases[] = {
        {0, 1, true},  {11, 1, true}, {12, 1, false}, {11, 3, false}, {12, 3, true}, {24, 3, true},
        {25, 3, false}, {24, 4, false}, {25, 4, true}, {29, 4, true}, {30, 4, true}, {30, 1, false},
        {36, 4, true}, {36, 3, false}, {0, 4, false}, {18, 1, false}, {5, 2, false},   // option 2 is never right
    };
    for (const Case &c : cases) {
        SCOPED_TRACE("entry " + std::to_string(c.entry) + " option " + std::to_string(c.ticked));
        GameFixture f;
        f.poseEntry(c.entry);
        ASSERT_EQ(f.index(), c.entry);
        const int question = f.state().qCount;
        f.reveal();
        const int drawsBefore = f.random.draws();
        f.answer(c.ticked, 0.5);
        const int correct = expectedCorrect(c.entry);
        const auto &ctl = f.controls();

        expectJudgedOptions(f, c.ticked, correct, c.right ? 0 : c.ticked);
        EXPECT_FALSE(ctl.lifeline.enabled);
        EXPECT_FALSE(ctl.showOptions.enabled);
        EXPECT_EQ(ctl.message.pointSize, 12);
        EXPECT_EQ(f.state().qCount, question);
        if (c.right) {
            EXPECT_EQ(ctl.message.caption, praiseMessages()[2]);
            EXPECT_EQ(ctl.message.text, colours::kWhite);
            EXPECT_TRUE(ctl.next.enabled);
            EXPECT_TRUE(ctl.quit.enabled);
            EXPECT_TRUE(ctl.happyFace.visible);
            EXPECT_FALSE(ctl.sadFace.visible);
            EXPECT_FALSE(ctl.endTimer.running);
            EXPECT_EQ(f.random.draws(), drawsBefore + 1);
        } else {
            EXPECT_EQ(ctl.message.caption, "Afsos!!  yeh galat jawab hamare sath bhag lene ka shukriya.....");
            EXPECT_EQ(ctl.message.text, colours::kRed);
            EXPECT_FALSE(ctl.next.enabled);
            EXPECT_FALSE(ctl.quit.enabled);
            EXPECT_FALSE(ctl.happyFace.visible);
            EXPECT_TRUE(ctl.sadFace.visible);
            EXPECT_TRUE(ctl.endTimer.running);
            EXPECT_EQ(f.random.draws(), drawsBefore) << "a wrong answer draws no praise";
        }
    }
}

TEST(Judging, TickBeforeTheOptionsAreShownIsUndoneAndChangesNothingElse)
{
    for (int question : {1, 2}) {
        for (int n = 1; n <= 4; ++n) {
            SCOPED_TRACE("question " + std::to_string(question) + " option " + std::to_string(n));
            GameFixture f;
            f.poseQuestion(question);
            const QuestionControls before = f.controls();
            const GameState stateBefore = f.state();
            const std::string chanceBefore = f.random.calls();
            f.game.clicks.clear();

            f.game.clickBox(n);

            EXPECT_EQ(f.controls(), before);
            EXPECT_EQ(stateTie(f.state()), stateTie(stateBefore));
            EXPECT_EQ(f.random.calls(), chanceBefore);
            // The player's tick runs the click, which unticks the box; that nested click ends in the guard too.
            const std::vector<ClickRecord> expected{{n, true, false, 0}, {n, false, false, 1}};
            EXPECT_EQ(f.game.clicks, expected);
        }
    }
}

// "Next Question" empties the option captions before it unticks the boxes, so that the click the untick of the
// last answer's box runs, nested, ends in the blank-option guard. Judged, it would be a second right answer:
// its praise draw would come before the question draw, and the boxes would be left disabled.
TEST(Judging, UntickingTheLastAnswerAtNextQuestionIsNeverJudged)
{
    for (int entry : {0, 12, 25}) {   // the answer's box is 1, 3 and 4
        SCOPED_TRACE("entry " + std::to_string(entry));
        GameFixture f;
        f.start(entry);
        f.reveal();
        f.answerRight();
        ASSERT_TRUE(optionBox(f, expectedCorrect(entry)).ticked);
        const std::string chanceBefore = f.random.calls();
        f.game.clicks.clear();

        f.next(entry + 1);

        EXPECT_EQ(f.random.calls(), chanceBefore + "SD") << "the question's reseed and draw, and no praise draw";
        // Only the ticked box changes, so only its click runs, and it ends in the guard.
        const std::vector<ClickRecord> expected{{expectedCorrect(entry), false, false, 0}};
        EXPECT_EQ(f.game.clicks, expected);
        const auto &ctl = f.controls();
        for (int n = 1; n <= 4; ++n) {
            EXPECT_TRUE(optionBox(f, n).enabled) << "option " << n;
            EXPECT_FALSE(optionBox(f, n).ticked) << "option " << n;
        }
        EXPECT_TRUE(ctl.showOptions.enabled);
        EXPECT_FALSE(ctl.next.enabled);
        EXPECT_FALSE(ctl.quit.enabled);
        EXPECT_FALSE(ctl.lifeline.enabled);
        EXPECT_FALSE(ctl.endTimer.running);
        EXPECT_EQ(ctl.message.caption, "");
        EXPECT_EQ(f.state().qCount, 2);
    }
}

TEST(Judging, PraiseComesFromSlotsZeroToThreeByTheDraw)
{
    struct Case { double r; int slot; };
    const Case cases[] = {
        {0.0, 0}, {0.2499, 0}, {0.25, 1}, {0.4999, 1}, {0.5, 2}, {0.75, 3},
        {std::nextafter(1.0, 0.0), 3}, {1.0, 3},   // a source at or past its bound still lands on slot 3
    };
    for (const Case &c : cases) {
        SCOPED_TRACE("r " + std::to_string(c.r));
        GameFixture f;
        f.start(4);
        f.reveal();
        f.answerRight(c.r);
        EXPECT_EQ(f.state().praiseIndex, c.slot);
        EXPECT_EQ(f.controls().message.caption, praiseMessages()[static_cast<std::size_t>(c.slot)]);
        EXPECT_EQ(f.random.pending(), 0u);
    }
}

TEST(Judging, RightAnswerToQuestionFifteenWinsTheGame)
{
    GameFixture f;
    f.poseQuestion(15);
    ASSERT_EQ(f.state().qCount, 15);
    f.reveal();
    const int drawsBefore = f.random.draws();
    f.answerRight();
    const auto &ctl = f.controls();

    EXPECT_EQ(f.state().qCount, kWonMark);
    EXPECT_EQ(f.random.draws(), drawsBefore) << "a win draws no praise";
    EXPECT_EQ(ctl.message.caption, " Absolutely Correct! You have proved that you are a TARVELO.");
    EXPECT_EQ(ctl.message.text, colours::kHighlight3d);
    EXPECT_EQ(ctl.message.pointSize, 12);
    EXPECT_TRUE(ctl.message.visible);
    EXPECT_TRUE(ctl.happyFace.visible);
    EXPECT_FALSE(ctl.sadFace.visible);
    EXPECT_TRUE(ctl.endTimer.running);
    // Only the message line and the smiling face stay on screen.
    for (const Button *b : {&ctl.showOptions, &ctl.lifeline, &ctl.next, &ctl.quit})
        EXPECT_FALSE(b->visible);
    for (const Label *l : {&ctl.question, &ctl.number, &ctl.lifelineUsed, &ctl.options[0], &ctl.options[1], &ctl.options[2], &ctl.options[3]})
        EXPECT_FALSE(l->visible);
    for (const CheckBox &b : ctl.boxes)
        EXPECT_FALSE(b.visible);
    EXPECT_FALSE(ctl.optionFrames.visible);
    EXPECT_FALSE(ctl.questionFrame.visible);
}

TEST(Judging, WrongAnswerToQuestionFifteenIsAnOrdinaryLoss)
{
    GameFixture f;
    f.poseQuestion(15);
    f.reveal();
    f.answer(2);
    const auto &ctl = f.controls();
    EXPECT_EQ(f.state().qCount, 15);
    EXPECT_EQ(ctl.message.caption, texts::kWrong);
    EXPECT_EQ(ctl.message.text, colours::kRed);
    EXPECT_TRUE(ctl.sadFace.visible);
    EXPECT_FALSE(ctl.happyFace.visible);
    EXPECT_TRUE(ctl.endTimer.running);
    EXPECT_TRUE(ctl.question.visible);
    EXPECT_TRUE(ctl.next.visible);
    EXPECT_FALSE(ctl.next.enabled);
    EXPECT_FALSE(ctl.quit.enabled);
}

}  // namespace
}  // namespace quiz
