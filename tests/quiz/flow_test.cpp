// The frame of a game on the question screen: load, activation, revealing, next question, quit and the end timer.

// Own
#include "quiz/question_game.h"
#include "quiz_fakes.h"

// Standard
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace quiz {
namespace {

using testing::GameFixture;
using testing::kHideTitle;
using testing::kShowFarewell;
using testing::ScreenCall;
using testing::stateTie;

TEST(Flow, LoadFillsTheTextsAndTurnsOffLifelineNextAndTimer)
{
    GameFixture f;
    QuestionControls expected;   // every control as the screen is built: enabled, visible, timer running
    expected.lifeline.enabled = false;
    expected.next.enabled = false;
    expected.endTimer.running = false;
    EXPECT_EQ(f.controls(), expected);
    for (int k = 0; k < kBankSize; ++k)
        EXPECT_EQ(f.state().strQuestion[static_cast<std::size_t>(k)], bankEntry(k).question) << "slot " << k;
    for (int s = 0; s < kPraiseCount; ++s)
        EXPECT_EQ(f.state().strPraise[static_cast<std::size_t>(s)], praiseMessages()[static_cast<std::size_t>(s)]) << "slot " << s;
    EXPECT_FALSE(f.game.started());
    EXPECT_EQ(f.state().lifeCount, 0);
    for (bool asked : f.state().qAsked)
        EXPECT_FALSE(asked);
    EXPECT_EQ(f.random.calls(), "");
    EXPECT_TRUE(f.screens.calls.empty());
}

TEST(Flow, FirstActivationPosesQuestionOne)
{
    GameFixture f;
    f.start(9);
    const auto &ctl = f.controls();
    EXPECT_TRUE(f.game.started());
    EXPECT_EQ(f.screens.calls, (std::vector<ScreenCall>{kHideTitle}));
    EXPECT_EQ(ctl.message.caption,
              "PLEASE! ALWAYS REMEMBER THAT OPTIONS CAN BE SELECTED USING YOUR MOUSE BY CHECKING ANY ONE CHECK BOX ......");
    EXPECT_EQ(ctl.message.text, colours::kWhite);
    EXPECT_EQ(ctl.message.pointSize, 12);
    EXPECT_EQ(f.state().qSpare, 30);
    EXPECT_EQ(f.state().qCount, 1);
    EXPECT_EQ(ctl.number.caption, "1");
    EXPECT_EQ(f.index(), 9);
    EXPECT_EQ(ctl.question.caption, " Which of following is NOT a Programming Language?");
    for (const Label *l : {&ctl.question, &ctl.options[0], &ctl.options[1], &ctl.options[2], &ctl.options[3]}) {
        EXPECT_EQ(l->pointSize, 12);
        EXPECT_EQ(l->text, colours::kWhite);
        EXPECT_TRUE(l->visible);
    }
    for (const Label &l : ctl.options)
        EXPECT_EQ(l.caption, "");
    EXPECT_FALSE(ctl.happyFace.visible);
    EXPECT_FALSE(ctl.sadFace.visible);
    EXPECT_FALSE(ctl.lifelineUsed.visible);
}

// Walks a fresh game to one of its moments.
struct Moment {
    const char *name;
    std::function<void(GameFixture &)> reach;
};

const std::vector<Moment> &moments()
{
    static const std::vector<Moment> kMoments{
        {"question posed", [](GameFixture &f) { f.start(2); }},
        {"options shown", [](GameFixture &f) { f.start(2); f.reveal(); }},
        {"after a lifeline press", [](GameFixture &f) { f.start(2); f.reveal(); f.game.pressLifeline(); }},
        {"answered right", [](GameFixture &f) { f.start(2); f.reveal(); f.answerRight(); }},
        {"second question posed", [](GameFixture &f) { f.start(2); f.rightThenNext(7); }},
        {"lost", [](GameFixture &f) { f.start(2); f.reveal(); f.answer(3); }},
        {"quitting", [](GameFixture &f) { f.start(2); f.reveal(); f.game.pressQuit(); }},
        {"won", [](GameFixture &f) { f.poseQuestion(15); f.reveal(); f.answerRight(); }},
        {"farewell after a loss", [](GameFixture &f) { f.start(2); f.reveal(); f.answer(3); f.game.timerFired(); }},
        {"farewell after a win", [](GameFixture &f) { f.poseQuestion(15); f.reveal(); f.answerRight(); f.game.timerFired(); }},
    };
    return kMoments;
}

TEST(Flow, LaterActivationsChangeNothing)
{
    for (const Moment &m : moments()) {
        SCOPED_TRACE(m.name);
        GameFixture f;
        m.reach(f);
        const QuestionControls before = f.controls();
        const GameState stateBefore = f.state();
        const std::string chanceBefore = f.random.calls();
        const std::size_t screenCallsBefore = f.screens.calls.size();
        f.game.activate();
        f.game.activate();
        EXPECT_EQ(f.controls(), before);
        EXPECT_EQ(stateTie(f.state()), stateTie(stateBefore));
        EXPECT_EQ(f.random.calls(), chanceBefore);
        EXPECT_EQ(f.screens.calls.size(), screenCallsBefore);
    }
}

TEST(Flow, RevealShowsTheWholeEntryOnScreen)
{
    GameFixture f;
    f.start(0);
    f.reveal();
    const auto &ctl = f.controls();
    EXPECT_EQ(ctl.question.caption, " RAM stands for ..");
    EXPECT_EQ(ctl.options[0].caption, "1. Random Access Memory");
    EXPECT_EQ(ctl.options[1].caption, "2. Rapid Access Memory");
    EXPECT_EQ(ctl.options[2].caption, "3. Repairable Access Memory");
    EXPECT_EQ(ctl.options[3].caption, "4. Recoverable Access Memory");
    for (const CheckBox &b : ctl.boxes)
        EXPECT_TRUE(b.usable());
    EXPECT_EQ(ctl.message.caption, "");
    EXPECT_FALSE(ctl.showOptions.enabled);
    EXPECT_TRUE(ctl.lifeline.usable());
    EXPECT_TRUE(ctl.quit.usable());
    EXPECT_FALSE(ctl.next.enabled);
    EXPECT_FALSE(ctl.endTimer.running);
}

TEST(Flow, ReminderShowsOnTheFirstQuestionOnlyUntilTheOptionsAreShown)
{
    GameFixture f;
    f.start(5);
    EXPECT_EQ(f.controls().message.caption, texts::kReminder);
    f.game.clickBox(1);   // no answer yet: the reminder stays
    EXPECT_EQ(f.controls().message.caption, texts::kReminder);
    f.reveal();
    EXPECT_EQ(f.controls().message.caption, "");
    f.answerRight();
    f.next(6);
    EXPECT_EQ(f.controls().message.caption, "");
}

TEST(Flow, QuitIsOffWhenPosedOnWhenShownStaysAfterRightAndGoesOffAfterWrong)
{
    GameFixture f;
    f.start(13);
    EXPECT_FALSE(f.controls().quit.enabled) << "posed";
    f.reveal();
    EXPECT_TRUE(f.controls().quit.usable()) << "options shown";
    f.answerRight();
    EXPECT_TRUE(f.controls().quit.usable()) << "answered right";
    f.next(14);
    EXPECT_FALSE(f.controls().quit.enabled) << "next question posed";
    f.reveal();
    EXPECT_TRUE(f.controls().quit.usable()) << "its options shown";
    f.answer(1);
    EXPECT_FALSE(f.controls().quit.enabled) << "answered wrong";
    EXPECT_TRUE(f.controls().quit.visible);
}

TEST(Flow, NextQuestionClearsWhateverTheLastAnswerLeft)
{
    // A right answer after a lifeline press leaves ticks, colours, blanks, disabled boxes, praise and a picture.
    for (int entry : {4, 21, 27}) {
        SCOPED_TRACE("entry " + std::to_string(entry));
        GameFixture f;
        f.start(entry);
        f.reveal();
        f.game.pressLifeline();
        f.answerRight();
        f.next(entry + 1);
        const auto &ctl = f.controls();
        EXPECT_EQ(f.state().qCount, 2);
        EXPECT_EQ(ctl.number.caption, "2");
        EXPECT_EQ(f.index(), entry + 1);
        EXPECT_EQ(ctl.question.caption, bankEntry(entry + 1).question);
        EXPECT_TRUE(f.state().qAsked[static_cast<std::size_t>(entry + 1)]);
        for (std::size_t n = 0; n < 4; ++n) {
            SCOPED_TRACE("option " + std::to_string(n + 1));
            EXPECT_EQ(ctl.options[n].caption, "");
            EXPECT_EQ(ctl.options[n].text, colours::kWhite);
            EXPECT_EQ(ctl.options[n].back, colours::kWindowText);
            EXPECT_TRUE(ctl.boxes[n].usable());
            EXPECT_FALSE(ctl.boxes[n].ticked);
        }
        EXPECT_EQ(ctl.message.caption, "");
        EXPECT_FALSE(ctl.lifeline.enabled);
        EXPECT_TRUE(ctl.lifeline.visible);
        EXPECT_TRUE(ctl.showOptions.usable());
        EXPECT_FALSE(ctl.quit.enabled);
        EXPECT_FALSE(ctl.next.enabled);
        EXPECT_FALSE(ctl.happyFace.visible);
        EXPECT_FALSE(ctl.sadFace.visible);
        EXPECT_FALSE(ctl.endTimer.running);
    }
}

TEST(Flow, QuitHidesTheGameAndLeavesThePicturesAsTheyWere)
{
    struct Case { const char *name; bool afterRightAnswer; };
    for (const Case c : {Case{"options shown", false}, Case{"answered right", true}}) {
        SCOPED_TRACE(c.name);
        GameFixture f;
        f.start(22);
        f.reveal();
        if (c.afterRightAnswer)
            f.answerRight();
        QuestionControls expected = f.controls();
        f.game.pressQuit();
        for (Button *b : {&expected.showOptions, &expected.lifeline, &expected.next, &expected.quit})
            b->visible = false;
        for (Label *l : {&expected.question, &expected.number, &expected.options[0], &expected.options[1], &expected.options[2], &expected.options[3]})
            l->visible = false;
        for (CheckBox &b : expected.boxes)
            b.visible = false;
        expected.message.text = colours::kWhite;
        expected.message.caption = " Bye! and you are most Welcome any time ..... ";
        expected.endTimer.running = true;
        EXPECT_EQ(f.controls(), expected);
        EXPECT_EQ(f.controls().happyFace.visible, c.afterRightAnswer);
        EXPECT_TRUE(f.controls().optionFrames.visible);
        EXPECT_TRUE(f.controls().questionFrame.visible);
    }
}

TEST(Flow, EndTimerRunsOnlyAfterTheGameEndsAndShowsTheFarewellOnce)
{
    for (const Moment &m : moments()) {
        SCOPED_TRACE(m.name);
        GameFixture f;
        m.reach(f);
        const std::string name = m.name;
        const bool ended = name == "lost" || name == "quitting" || name == "won";
        const bool farewell = name.rfind("farewell", 0) == 0;
        EXPECT_EQ(f.controls().endTimer.running, ended);

        const QuestionControls before = f.controls();
        const std::size_t callsBefore = f.screens.calls.size();
        f.game.timerFired();
        if (ended) {
            ASSERT_EQ(f.screens.calls.size(), callsBefore + 1);
            EXPECT_EQ(f.screens.calls.back(), kShowFarewell);
            QuestionControls expected = before;   // the question screen stays as the game left it
            expected.endTimer.running = false;
            EXPECT_EQ(f.controls(), expected);
        } else {
            EXPECT_EQ(f.screens.calls.size(), callsBefore);
            EXPECT_EQ(f.controls(), before);
        }
        const QuestionControls afterFirstTick = f.controls();
        f.game.timerFired();   // a stopped timer does not tick again
        EXPECT_EQ(f.controls(), afterFirstTick);
        const auto farewells = std::count(f.screens.calls.begin(), f.screens.calls.end(), kShowFarewell);
        EXPECT_EQ(farewells, (ended || farewell) ? 1 : 0);
    }
}

TEST(Flow, PressesOnDisabledOrHiddenControlsDoNothing)
{
    enum Event { ShowOptions, Lifeline, Next, Quit, Box1, Box2, Box3, Box4 };
    const auto fire = [](GameFixture &f, Event e) {
        switch (e) {
        case ShowOptions: f.game.pressShowOptions(); break;
        case Lifeline: f.game.pressLifeline(); break;
        case Next: f.game.pressNext(); break;
        case Quit: f.game.pressQuit(); break;
        default: f.game.clickBox(static_cast<int>(e - Box1) + 1); break;
        }
    };
    struct Case { const char *moment; std::vector<Event> dead; };
    const Case cases[] = {
        {"question posed", {Lifeline, Next, Quit}},
        {"options shown", {ShowOptions, Next}},
        {"after a lifeline press", {ShowOptions, Next, Box2, Box3}},   // entry 2 loses options 2 and 3
        {"answered right", {ShowOptions, Lifeline, Box1, Box2, Box3, Box4}},
        {"lost", {ShowOptions, Lifeline, Next, Quit, Box1, Box2, Box3, Box4}},
        {"quitting", {ShowOptions, Lifeline, Next, Quit, Box1, Box2, Box3, Box4}},
        {"won", {ShowOptions, Lifeline, Next, Quit, Box1, Box2, Box3, Box4}},
        {"farewell after a loss", {ShowOptions, Lifeline, Next, Quit, Box1, Box2, Box3, Box4}},
    };
    for (const Case &c : cases) {
        const Moment *moment = nullptr;
        for (const Moment &m : moments())
            if (std::string(m.name) == c.moment)
                moment = &m;
        ASSERT_NE(moment, nullptr) << c.moment;
        for (Event e : c.dead) {
            SCOPED_TRACE(std::string(c.moment) + ", event " + std::to_string(static_cast<int>(e)));
            GameFixture f;
            moment->reach(f);
            const QuestionControls before = f.controls();
            const GameState stateBefore = f.state();
            const std::string chanceBefore = f.random.calls();
            const std::size_t callsBefore = f.screens.calls.size();
            fire(f, e);
            EXPECT_EQ(f.controls(), before);
            EXPECT_EQ(stateTie(f.state()), stateTie(stateBefore));
            EXPECT_EQ(f.random.calls(), chanceBefore);
            EXPECT_EQ(f.screens.calls.size(), callsBefore);
        }
    }
}

}  // namespace
}  // namespace quiz
