// The title screen's procedures, the farewell key, and how the start of a run reaches the question screen.

// Own
#include "quiz/question_game.h"
#include "quiz/title_rules.h"
#include "quiz_fakes.h"

// Standard
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace quiz {
namespace {

using testing::kEndProgram;
using testing::kHideQuestion;
using testing::kHideTitle;
using testing::kShowQuestion;
using testing::RecordingSwitcher;
using testing::ScreenCall;
using testing::ScriptedRandom;

TEST(Title, LoadCreatesTheHiddenQuestionScreenBeforeSettingItsOwnLabels)
{
    RecordingSwitcher screens;
    TitleRules title(screens);
    std::optional<TitleControls> atHide;
    screens.onCall = [&](const ScreenCall &) { atHide = title.controls(); };

    title.load();

    EXPECT_EQ(screens.calls, (std::vector<ScreenCall>{kHideQuestion}));
    ASSERT_TRUE(atHide.has_value());
    EXPECT_EQ(*atHide, TitleControls{}) << "nothing of the title screen was set before the question screen existed";

    const auto &c = title.controls();
    EXPECT_EQ(c.name.pointSize, 12);
    EXPECT_EQ(c.name.text, colours::kMagenta);
    EXPECT_EQ(c.press.pointSize, 12);
    EXPECT_EQ(c.press.text, colours::kBlue);
    EXPECT_EQ(c.press.caption, "Press any key to continue quizzing....");
    EXPECT_EQ(c.abort.pointSize, 10);
    EXPECT_EQ(c.abort.text, Colour{0x80000012});
    EXPECT_EQ(c.abort.caption, "Press 'Esc' to Abort Quiz");
    for (const Timer &t : c.timers)
        EXPECT_TRUE(t.running);
}

TEST(Title, EachTimerTickSetsItsLabelsColour)
{
    struct Case { int timer; bool press; Colour colour; };
    const Case cases[] = {
        {0, true, colours::kOrange}, {1, true, colours::kBlue}, {2, false, colours::kBlack}, {3, false, Colour{0xFF00FF}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE("timer " + std::to_string(c.timer + 1));
        RecordingSwitcher screens;
        TitleRules title(screens);
        title.load();
        // Start from the other colour of the pair, so that each tick is seen to change something.
        title.timerFired(c.press ? (c.timer == 0 ? 1 : 0) : (c.timer == 2 ? 3 : 2));
        TitleControls expected = title.controls();
        (c.press ? expected.press : expected.name).text = c.colour;
        title.timerFired(c.timer);
        EXPECT_EQ(title.controls(), expected);
    }
}

TEST(Title, PromptColoursFollowTheTimersOverTime)
{
    RecordingSwitcher screens;
    TitleRules title(screens);
    title.load();
    // Ticks as they fall due over the first 4000 ms; at 3000 ms the 1500 ms timers are handled last here.
    struct Step { int atMs; std::vector<int> timers; Colour press; Colour name; };
    const Step steps[] = {
        {1000, {0, 2}, colours::kOrange, colours::kBlack},
        {1500, {1, 3}, colours::kBlue, colours::kMagenta},
        {2000, {0, 2}, colours::kOrange, colours::kBlack},
        {3000, {0, 2, 1, 3}, colours::kBlue, colours::kMagenta},
        {4000, {0, 2}, colours::kOrange, colours::kBlack},
    };
    EXPECT_EQ(title.controls().press.text, colours::kBlue);
    EXPECT_EQ(title.controls().name.text, colours::kMagenta);
    for (const Step &s : steps) {
        for (int t : s.timers)
            title.timerFired(t);
        EXPECT_EQ(title.controls().press.text, s.press) << "at " << s.atMs << " ms";
        EXPECT_EQ(title.controls().name.text, s.name) << "at " << s.atMs << " ms";
    }
    EXPECT_EQ(screens.calls.size(), 1u) << "the timers switch no screen";
}

TEST(Title, EscEndsTheProgramWithoutOpeningTheQuestionScreen)
{
    RecordingSwitcher screens;
    TitleRules title(screens);
    title.load();
    title.timerFired(0);
    const TitleControls before = title.controls();
    screens.calls.clear();

    title.keyPressed(27);

    EXPECT_EQ(screens.calls, (std::vector<ScreenCall>{kEndProgram}));
    EXPECT_EQ(title.controls(), before) << "nothing runs after the end of the program";
}

TEST(Title, AnyOtherCharacterStopsTheTimersAndOpensTheQuestionScreen)
{
    // Enter, Backspace, Space, a digit, letters, and codes next to Esc or sharing its low byte.
    for (int code : {13, 8, 32, int{'1'}, int{'a'}, int{'Z'}, 26, 28, 0x011B, 0xFFFF}) {
        SCOPED_TRACE("code " + std::to_string(code));
        RecordingSwitcher screens;
        TitleRules title(screens);
        title.load();
        screens.calls.clear();
        std::optional<TitleControls> atShow;
        screens.onCall = [&](const ScreenCall &) { atShow = title.controls(); };

        title.keyPressed(code);

        EXPECT_EQ(screens.calls, (std::vector<ScreenCall>{kShowQuestion}));
        ASSERT_TRUE(atShow.has_value());
        for (const Timer &t : atShow->timers)
            EXPECT_FALSE(t.running) << "the timers stop before the question screen shows";
        // Stopped timers no longer change the prompts.
        const TitleControls stopped = title.controls();
        for (int t = 0; t < kTitleTimerCount; ++t) {
            title.timerFired(t);
            EXPECT_EQ(title.controls(), stopped) << "timer " << t + 1;
        }
    }
}

TEST(Farewell, AnyCharacterEndsTheProgram)
{
    RecordingSwitcher screens;
    farewellKeyPressed(screens);
    EXPECT_EQ(screens.calls, (std::vector<ScreenCall>{kEndProgram}));
}

// The shell's part, played here: hiding or showing the question screen creates it on first use (its load runs
// there and then), and showing it activates it.
struct WiredRun {
    ScriptedRandom random;
    RecordingSwitcher screens;
    QuestionGame game{random, screens};
    TitleRules title{screens};
    bool questionCreated = false;
    bool questionLoadedBeforeTitleLabels = false;

    WiredRun()
    {
        screens.onCall = [this](const ScreenCall &call) {
            if (call.kind == ScreenCall::End || call.screen != Screen::Question)
                return;
            if (!questionCreated) {
                questionCreated = true;
                game.load();
                questionLoadedBeforeTitleLabels = title.controls().press.caption.empty();
            }
            if (call.kind == ScreenCall::Show)
                game.activate();
        };
    }
};

TEST(StartUp, QuestionScreenLoadsHiddenAtStartAndAKeyStartsTheGame)
{
    WiredRun run;
    run.title.load();
    EXPECT_TRUE(run.questionCreated);
    EXPECT_TRUE(run.questionLoadedBeforeTitleLabels);
    EXPECT_FALSE(run.game.started());
    EXPECT_FALSE(run.game.controls().next.enabled) << "its load has run";

    run.random.queueEntry(11);
    run.title.keyPressed('x');

    EXPECT_EQ(run.screens.calls, (std::vector<ScreenCall>{kHideQuestion, kShowQuestion, kHideTitle}));
    EXPECT_TRUE(run.game.started());
    EXPECT_EQ(run.game.state().qIndex, 11);
    EXPECT_EQ(run.game.controls().message.caption, texts::kReminder);
}

TEST(StartUp, EscNeverActivatesTheQuestionScreen)
{
    WiredRun run;
    run.title.load();
    run.title.keyPressed(kEscape);
    EXPECT_EQ(run.screens.calls, (std::vector<ScreenCall>{kHideQuestion, kEndProgram}));
    EXPECT_FALSE(run.game.started());
    EXPECT_EQ(run.random.calls(), "");
}

}  // namespace
}  // namespace quiz
