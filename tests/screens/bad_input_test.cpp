// What a careless or impatient player may do: close a window mid-wait, press keys while the game
// ends, hammer every control.

// Own
#include "screen_fixture.h"
#include "quiz/question_bank.h"

namespace screens_test {
namespace {

using BadInput = ShellFixture;

TEST_F(BadInput, ClosingTheWindowDuringTheEndOfGameWaitEndsTheRunAndNothingFiresLater)
{
    enterQuiz(9);
    click(button("cmdOptions"));
    click(button("cmdQuit"));
    ASSERT_TRUE(question().endTimer().isActive());
    question().close();
    EXPECT_TRUE(m_shell.ended());
    EXPECT_FALSE(question().endTimer().isActive());
    QTest::qWait(20);
    EXPECT_EQ(m_shell.farewell(), nullptr) << "no farewell screen after the run has ended";
}

TEST_F(BadInput, KeysPressedDuringTheWaitChangeNothing)
{
    enterQuiz(16);   // option 3 is right; answer wrong
    click(button("cmdOptions"));
    click(box(1));
    const QString message = label("lblTest").text();
    for (int key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Space, Qt::Key_1, Qt::Key_3, Qt::Key_Tab, Qt::Key_A})
        press(question(), key);
    EXPECT_EQ(label("lblTest").text(), message);
    EXPECT_TRUE(question().endTimer().isActive());
    EXPECT_GT(question().endTimer().remainingTime(), 0);
    EXPECT_FALSE(m_shell.ended());
    EXPECT_TRUE(box(1).isChecked());
    EXPECT_FALSE(box(3).isChecked());
}

TEST_F(BadInput, HammeringEveryControlKeepsTheGameConsistent)
{
    enterQuiz(0);
    std::vector<QWidget *> controls;
    for (const char *name : {"cmdOptions", "cmdLife", "cmdNext", "cmdQuit"})
        controls.push_back(&button(name));
    for (int n = 1; n <= 4; ++n)
        controls.push_back(&box(n));
    for (const char *name : {"lblQuestion", "lblTest", "Image1", "Image3"})
        controls.push_back(&child<QWidget>(question(), name));
    for (int round = 0; round < 40 && !question().endTimer().isActive(); ++round) {
        m_random.pick(round % quiz::kRandomEntries, quiz::kRandomEntries);
        for (QWidget *w : controls)
            for (int i = 0; i < 3; ++i)
                click(*w);
        int ticked = 0;
        for (int n = 1; n <= 4; ++n)
            ticked += box(n).isChecked() ? 1 : 0;
        EXPECT_LE(ticked, 1);
    }
    EXPECT_TRUE(question().endTimer().isActive()) << "the clicks reached an end of the game";
    question().endTimer().start(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_shell.farewell() != nullptr && m_shell.farewell()->isVisible(); }));
    for (int i = 0; i < 5; ++i)
        click(*m_shell.farewell());
    EXPECT_FALSE(m_shell.ended()) << "a click on the farewell screen does nothing";
}

}  // namespace
}  // namespace screens_test
