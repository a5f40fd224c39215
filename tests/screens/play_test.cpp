// Whole games played through the real widgets, with the end-of-game wait run on a short test interval.

// Own
#include "screen_fixture.h"
#include "quiz/question_bank.h"

// Qt
#include <QSignalSpy>

namespace screens_test {
namespace {

using Play = ShellFixture;

TEST_F(Play, StartBuildsTheQuestionScreenHiddenBeforeTheTitleShows)
{
    ASSERT_NE(m_shell.question(), nullptr);
    EXPECT_TRUE(title().isVisible());
    EXPECT_FALSE(question().isVisible());
    EXPECT_FALSE(question().game().started());
    EXPECT_FALSE(button("cmdNext").isEnabled()) << "its load has run";
    EXPECT_EQ(m_shell.farewell(), nullptr);
    for (QTimer &t : title().timers())
        EXPECT_TRUE(t.isActive());
}

TEST_F(Play, NonCharacterKeysOnTheTitleDoNothing)
{
    for (int key : {Qt::Key_Shift, Qt::Key_Left, Qt::Key_F1, Qt::Key_Down})
        press(title(), key);
    EXPECT_TRUE(title().isVisible());
    EXPECT_FALSE(question().isVisible());
    EXPECT_FALSE(m_shell.ended());
}

TEST_F(Play, EscOnTheTitleEndsTheRunWithoutAGame)
{
    press(title(), Qt::Key_Escape);
    EXPECT_TRUE(m_shell.ended());
    EXPECT_FALSE(question().game().started());
    EXPECT_FALSE(title().isVisible());
}

TEST_F(Play, ACharacterKeyOpensTheQuestionScreenWithFocusOnTheOptionsButton)
{
    enterQuiz(7);
    EXPECT_TRUE(question().isVisible());
    EXPECT_FALSE(title().isVisible());
    for (QTimer &t : title().timers())
        EXPECT_FALSE(t.isActive());
    EXPECT_EQ(label("lblQnum").text(), QStringLiteral("1"));
    EXPECT_EQ(label("lblQuestion").text(), QStringLiteral(" An instruction is .."));
    EXPECT_EQ(QApplication::focusWidget() == nullptr ? question().focusWidget() : QApplication::focusWidget(),
              &button("cmdOptions"));
}

TEST_F(Play, ATickMadeByTheProgramNeverCountsAsThePlayersClick)
{
    enterQuiz(2);
    click(button("cmdOptions"));
    click(box(1));                       // right: entry 2's answer is option 1
    ASSERT_TRUE(box(1).isChecked());
    m_random.pick(9, quiz::kRandomEntries);
    click(button("cmdNext"));            // unticks box 1 from the program
    EXPECT_FALSE(box(1).isChecked());
    EXPECT_TRUE(box(1).isEnabled()) << "the untick was not judged as a second answer";
    EXPECT_TRUE(button("cmdOptions").isEnabled());
}

TEST_F(Play, AWonGameEndsOnTheFarewellScreenAndAKeyEndsTheRun)
{
    enterQuiz(0);
    for (int q = 1; q <= quiz::kLastQuestion; ++q) {
        const int index = question().game().state().qIndex;
        click(button("cmdOptions"));
        click(box(quiz::correctOptionFor(index)));
        if (q < quiz::kLastQuestion) {
            EXPECT_TRUE(child<QWidget>(question(), "Image3").isVisible());
            m_random.pick(q, quiz::kRandomEntries);
            click(button("cmdNext"));
        }
    }
    EXPECT_EQ(label("lblTest").text(), QStringLiteral(" Absolutely Correct! You have proved that you are a TARVELO."));
    EXPECT_FALSE(label("lblQuestion").isVisible());
    EXPECT_FALSE(button("cmdQuit").isVisible());
    QTimer &timer = question().endTimer();
    ASSERT_TRUE(timer.isActive());
    EXPECT_EQ(timer.interval(), 6000);
    EXPECT_EQ(timer.timerType(), Qt::PreciseTimer);
    timer.start(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_shell.farewell() != nullptr && m_shell.farewell()->isVisible(); }));
    EXPECT_FALSE(timer.isActive()) << "it fires once";
    EXPECT_TRUE(question().isVisible()) << "the game's end stays behind the farewell screen";
    press(*m_shell.farewell(), Qt::Key_Shift);
    EXPECT_FALSE(m_shell.ended());
    type(*m_shell.farewell(), 'q');
    EXPECT_TRUE(m_shell.ended());
}

TEST_F(Play, ALostGameShowsTheConsolationAndLocksEverything)
{
    enterQuiz(20);   // option 3 is right
    click(button("cmdOptions"));
    click(box(2));
    EXPECT_EQ(label("lblTest").text(), QStringLiteral("Afsos!!  yeh galat jawab hamare sath bhag lene ka shukriya....."));
    EXPECT_TRUE(child<QWidget>(question(), "Image4").isVisible());
    for (const char *name : {"cmdNext", "cmdQuit", "cmdLife", "cmdOptions"})
        EXPECT_FALSE(button(name).isEnabled()) << name;
    for (int n = 1; n <= 4; ++n)
        EXPECT_FALSE(box(n).isEnabled());
    question().endTimer().start(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_shell.farewell() != nullptr && m_shell.farewell()->isVisible(); }));
    press(*m_shell.farewell(), Qt::Key_Escape);
    EXPECT_TRUE(m_shell.ended());
}

TEST_F(Play, QuittingAfterARightAnswerKeepsTheHappyFace)
{
    enterQuiz(26);   // option 4 is right
    click(button("cmdOptions"));
    click(box(4));
    click(button("cmdQuit"));
    EXPECT_EQ(label("lblTest").text(), QStringLiteral(" Bye! and you are most Welcome any time ..... "));
    EXPECT_TRUE(child<QWidget>(question(), "Image3").isVisible());
    for (const char *name : {"cmdNext", "cmdQuit", "cmdLife", "cmdOptions"})
        EXPECT_FALSE(button(name).isVisible()) << name;
    EXPECT_TRUE(question().endTimer().isActive());
}

TEST_F(Play, EnterPressesNextQuestionAndEscPressesQuit)
{
    enterQuiz(5);
    press(question(), Qt::Key_Return);
    EXPECT_EQ(label("lblQnum").text(), QStringLiteral("1")) << "Next is off: Enter does nothing";
    click(button("cmdOptions"));
    click(box(1));
    m_random.pick(6, quiz::kRandomEntries);
    press(question(), Qt::Key_Return);
    EXPECT_EQ(label("lblQnum").text(), QStringLiteral("2"));
    press(question(), Qt::Key_Escape);
    EXPECT_TRUE(label("lblQuestion").isVisible()) << "Quit is off on a new question: Esc does nothing";
    click(button("cmdOptions"));
    press(question(), Qt::Key_Escape);
    EXPECT_FALSE(label("lblQuestion").isVisible());
    EXPECT_EQ(label("lblTest").text(), QStringLiteral(" Bye! and you are most Welcome any time ..... "));
}

TEST_F(Play, LifelineTwiceLeavesLifelineUsedInTheButtonsPlace)
{
    enterQuiz(12);
    click(button("cmdOptions"));
    click(button("cmdLife"));
    EXPECT_TRUE(label("lblAnsOne").text().isEmpty());
    EXPECT_TRUE(label("lblAnsfour").text().isEmpty());
    EXPECT_FALSE(box(1).isEnabled());
    click(box(1));
    EXPECT_FALSE(box(1).isChecked());
    click(button("cmdLife"));
    EXPECT_FALSE(button("cmdLife").isVisible());
    EXPECT_TRUE(label("lblLifeline").isVisible());
}

TEST_F(Play, ClosingAnyScreenEndsTheRun)
{
    question().close();
    EXPECT_TRUE(m_shell.ended());
    for (QTimer &t : title().timers())
        EXPECT_FALSE(t.isActive()) << "nothing fires after the end";
    EXPECT_FALSE(title().isVisible());
}

TEST_F(Play, ComingBackToTheQuestionScreenChangesNothing)
{
    enterQuiz(4);
    click(button("cmdOptions"));
    click(box(3));   // wrong
    const QString message = label("lblTest").text();
    question().activated();
    EXPECT_EQ(label("lblTest").text(), message);
    EXPECT_EQ(label("lblQnum").text(), QStringLiteral("1"));
}

}  // namespace
}  // namespace screens_test

namespace screens_test {
namespace {

TEST_F(Play, TheTitleScreenCarriesTheIconOnceItIsDrawn)
{
    title().grab();   // the first frame
    ASSERT_TRUE(QTest::qWaitFor([&] { return !title().windowIcon().isNull(); }));
    EXPECT_TRUE(title().windowIcon().availableSizes().contains(QSize(32, 32)));
    EXPECT_TRUE(question().windowIcon().availableSizes().isEmpty()) << "the question screen has no icon of its own";
}

}  // namespace
}  // namespace screens_test
