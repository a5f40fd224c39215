// What a screen reader is told by the real widgets: the name of each control, the actions it can
// take, where the focus rests, what is announced and in which order, and how the title and farewell
// screens read out.

// Own
#include "screen_fixture.h"
#include "screens/accessibility.h"
#include "quiz/question_bank.h"
#include "quiz/question_game.h"

// Qt
#include <QAccessible>
#include <QApplication>

// Standard
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace screens_test {
namespace {

QAccessibleInterface *accessible(QObject &o) { return QAccessible::queryAccessibleInterface(&o); }

class ScreenReader : public ShellFixture {
protected:
    // Focus moves are told only for the active window, as on a desktop. From here on the test
    // hears, in order, every focus move ("focus cmdNext") and every announcement ("said ...").
    void enter(int first)
    {
        enterQuiz(first);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&question()));
        QObject::connect(qApp, &QApplication::focusChanged, &question(), [this](QWidget *, QWidget *now) {
            m_heard << QStringLiteral("focus ") + (now != nullptr ? now->objectName() : QStringLiteral("none"));
        });
        QObject::connect(question().findChild<screens::SpokenLine *>(), &screens::SpokenLine::announced, &question(),
                         [this](const QString &text) { m_heard << QStringLiteral("said ") + text; });
    }
    QStringList heard() { return std::exchange(m_heard, {}); }

    QWidget *focused() { return question().focusWidget(); }
    void doAction(QObject &control, const QString &action) { accessible(control)->actionInterface()->doAction(action); }

private:
    QStringList m_heard;
};

// Voice control and switch access answer through a box's actions: each must be the player's click,
// judged as one, or the box would stay ticked with the game never knowing.
TEST_F(ScreenReader, PressAndToggleActionsAnswerExactlyAsAClickDoes)
{
    const QString press = QAccessibleActionInterface::pressAction();
    const QString toggle = QAccessibleActionInterface::toggleAction();
    enterQuiz(12);   // option 3 is right
    EXPECT_TRUE(accessible(box(3))->actionInterface()->actionNames().contains(toggle));
    EXPECT_FALSE(accessible(button("cmdNext"))->actionInterface()->actionNames().contains(press))
        << "a disabled button offers nothing to press";
    doAction(box(3), toggle);
    EXPECT_FALSE(box(3).isChecked()) << "before the options show, the guard unticks as it does for a click";
    EXPECT_FALSE(button("cmdNext").isEnabled());

    doAction(button("cmdOptions"), press);
    EXPECT_EQ(label("lblAnsthree").text(), QString::fromUtf8(quiz::trimSpaces(quiz::bankEntry(12).options[2]).data()));
    doAction(button("cmdLife"), press);
    doAction(box(1), toggle);
    EXPECT_FALSE(box(1).isChecked()) << "a box the lifeline disabled takes no action";
    EXPECT_TRUE(label("lblTest").text().isEmpty());

    doAction(box(3), toggle);
    EXPECT_TRUE(box(3).isChecked());
    EXPECT_TRUE(button("cmdNext").isEnabled()) << "the toggle was judged as a right answer";
    EXPECT_FALSE(label("lblTest").text().isEmpty());

    m_random.pick(0, quiz::kRandomEntries);
    doAction(button("cmdNext"), press);
    EXPECT_EQ(label("lblQnum").text(), QStringLiteral("2"));
    doAction(button("cmdOptions"), press);
    doAction(box(2), press);
    EXPECT_TRUE(question().endTimer().isActive()) << "a press is judged too: option 2 is wrong";
    EXPECT_TRUE(label("lblAnsOne").palette().color(QPalette::Window) == QColor(0x80, 0xFF, 0x80));
}

TEST_F(ScreenReader, FocusGoesStraightToNextQuestionAfterARightAnswerAndNowhereUnusableAfterAnEnd)
{
    enter(12);
    press(*focused(), Qt::Key_Space);
    ASSERT_EQ(focused(), &box(1)) << "the options show; the first of them has the focus";
    heard();
    type(*focused(), '3');
    const QStringList told = heard();
    ASSERT_EQ(told.size(), 2);
    EXPECT_EQ(told[0], QStringLiteral("focus cmdNext")) << "no control on the way is named";
    EXPECT_TRUE(told[1].startsWith(QStringLiteral("said "))) << "the praise is said after the focus moved";
    m_random.pick(0, quiz::kRandomEntries);
    press(*focused(), Qt::Key_Space);
    EXPECT_EQ(label("lblQnum").text(), QStringLiteral("2")) << "Space on the focus goes on; it never quits";
    EXPECT_EQ(focused(), &button("cmdOptions"));

    press(*focused(), Qt::Key_Space);
    type(*focused(), '2');   // wrong
    EXPECT_EQ(focused(), nullptr) << "nothing can be used after a loss";
}

// A blind player's whole game: Space on whatever has the focus, and the number keys.
TEST_F(ScreenReader, SpaceOnTheFocusAndNumberKeysWinAGameThatEndsWithTheFocusOnNothingHidden)
{
    enter(0);
    for (int q = 1; q <= quiz::kLastQuestion; ++q) {
        SCOPED_TRACE("question " + std::to_string(q));
        ASSERT_EQ(focused(), &button("cmdOptions"));
        press(*focused(), Qt::Key_Space);
        type(*focused(), static_cast<char>('0' + quiz::correctOptionFor(q - 1)));
        if (q == quiz::kLastQuestion)
            break;
        ASSERT_EQ(focused(), &button("cmdNext"));
        m_random.pick(q, quiz::kRandomEntries);
        press(*focused(), Qt::Key_Space);
    }
    EXPECT_EQ(question().game().state().qCount, quiz::kWonMark);
    EXPECT_EQ(focused(), nullptr);
    EXPECT_EQ(heard().last(), QStringLiteral("said Absolutely Correct! You have proved that you are a TARVELO."));
}

TEST_F(ScreenReader, QuitSaysGoodbyeAndLeavesTheFocusOnNothingHidden)
{
    enter(5);
    press(*focused(), Qt::Key_Space);
    press(*focused(), Qt::Key_Escape);
    EXPECT_EQ(focused(), nullptr);
    EXPECT_EQ(heard().last(), QStringLiteral("said Bye! and you are most Welcome any time ....."));
}

TEST_F(ScreenReader, VerdictsAndTheLifelineAreSaidOnceAndTheQuestionWithTheFocus)
{
    enter(12);
    press(*focused(), Qt::Key_Space);
    heard();
    click(button("cmdLife"));
    EXPECT_EQ(heard(), (QStringList{QStringLiteral("focus cmdLife"), QStringLiteral("said 50-50: options 2 and 3 remain.")}));
    type(*focused(), '3');
    EXPECT_EQ(heard().last(), QStringLiteral("said ") + label("lblTest").text().trimmed());

    m_random.pick(0, quiz::kRandomEntries);
    press(*focused(), Qt::Key_Return);
    EXPECT_EQ(heard(), QStringList{QStringLiteral("focus cmdOptions")}) << "a new question announces nothing";
    EXPECT_EQ(accessible(button("cmdOptions"))->text(QAccessible::Description),
              QStringLiteral("Question 2: ") + label("lblQuestion").text().trimmed());
    press(*focused(), Qt::Key_Space);
    heard();
    type(*focused(), '4');
    const QString wrong = QStringLiteral("said Afsos!!  yeh galat jawab hamare sath bhag lene ka shukriya..... "
                                         "The right answer was option 1: ") + label("lblAnsOne").text() + QStringLiteral(".");
    EXPECT_EQ(heard(), (QStringList{QStringLiteral("focus none"), wrong}));
    EXPECT_EQ(label("lblTest").text(), QString::fromUtf8(quiz::texts::kWrong.data())) << "the visible message stays as it is";
}

TEST_F(ScreenReader, TheQuestionScreenListsEachOptionBesideItsBoxRowByRow)
{
    enterQuiz(0);
    QStringList order;
    QAccessibleInterface *screen = accessible(question());
    for (int i = 0; i < screen->childCount(); ++i) {
        const QString name = screen->child(i)->object()->objectName();
        if (name.startsWith(QLatin1String("Check")) || name.startsWith(QLatin1String("lblAns")))
            order << name;
    }
    EXPECT_EQ(order, (QStringList{"Check1", "lblAnsOne", "Check2", "lblAnsTwo", "Check3", "lblAnsthree", "Check4", "lblAnsfour"}));
}

// Qt tells a screen reader that a screen came up only once its bridge to it has started; the title
// can come up first, and must then still be heard.
TEST_F(ScreenReader, ATitleThatCameUpBeforeAssistiveToolsListenedIsReadAloudWhenTheyStart)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(&title()));
    QAccessible::setActive(true);
    QCoreApplication::processEvents();
    const auto *read = title().findChild<screens::SpokenLine *>(QStringLiteral("readAloud"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->text(), QStringLiteral("Tarvelo ? Inspired From - Pravikon ? Written and Developed By : - Tarvelo team "
                                           "Tarvelo team - : Its for fun and no actual prizes and honours for it : - "
                                           "Press any key to continue quizzing.... Press 'Esc' to Abort Quiz"));
    QAccessible::setActive(false);

    enterQuiz(0);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&question()));
    QAccessible::setActive(true);
    QCoreApplication::processEvents();
    EXPECT_EQ(question().findChild<screens::SpokenLine *>(QStringLiteral("readAloud")), nullptr)
        << "the question screen speaks through its focus";
    QAccessible::setActive(false);
}

// A screen reader reads a dialog's texts when it comes up, in the order they stand on the screen.
TEST_F(ScreenReader, TitleAndFarewellReadOutAsDialogsInReadingOrder)
{
    auto texts = [](QWidget &window) {
        QStringList read;
        QAccessibleInterface *screen = accessible(window);
        for (int i = 0; i < screen->childCount(); ++i)
            if (screen->child(i)->role() == QAccessible::StaticText)
                read << screen->child(i)->text(QAccessible::Name).simplified();
        return read;
    };
    EXPECT_EQ(accessible(title())->role(), QAccessible::Dialog);
    EXPECT_EQ(accessible(title())->text(QAccessible::Name), QStringLiteral("Tarvelo ?"));
    EXPECT_TRUE(title().windowTitle().isEmpty());
    EXPECT_EQ(texts(title()), (QStringList{"Tarvelo ?", "Inspired From - Pravikon ?",
                                           "Written and Developed By : - Tarvelo team", "Tarvelo team",
                                           "- : Its for fun and no actual prizes and honours for it : -",
                                           "Press any key to continue quizzing....", "Press 'Esc' to Abort Quiz"}));
    EXPECT_EQ(accessible(question())->role(), QAccessible::Window) << "the question screen speaks by its focus";

    enterQuiz(0);
    press(*focused(), Qt::Key_Space);
    press(*focused(), Qt::Key_Escape);
    question().endTimer().setInterval(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_shell.farewell() != nullptr && m_shell.farewell()->isVisible(); }));
    QWidget &farewell = *m_shell.farewell();
    EXPECT_EQ(accessible(farewell)->role(), QAccessible::Dialog);
    const QStringList read = texts(farewell);
    ASSERT_FALSE(read.isEmpty());
    EXPECT_TRUE(read.first().startsWith(QStringLiteral("Have you enjoyed it"))) << read.join('|').toStdString();
    EXPECT_TRUE(read.filter(QStringLiteral("e-mail id : - tarvelo@example.org")).size() == 1);
    EXPECT_EQ(read.last(), QStringLiteral("Press any key to end the program.")) << "said last, though never shown";
}

using Accessibility = ShellFixture;

TEST_F(Accessibility, BoxesSpeakTheOptionTheyAnswer)
{
    enterQuiz(23);
    EXPECT_EQ(accessible(box(3))->text(QAccessible::Name), QStringLiteral("Option 3"));
    EXPECT_FALSE(accessible(box(3))->text(QAccessible::Description).isEmpty());
    click(button("cmdOptions"));
    EXPECT_EQ(accessible(box(3))->text(QAccessible::Name), QStringLiteral("Option 3: 3. ="));
    EXPECT_EQ(accessible(box(4))->text(QAccessible::Name), QStringLiteral("Option 4: 4. &"));
    click(button("cmdLife"));
    EXPECT_EQ(accessible(box(1))->text(QAccessible::Name), QStringLiteral("Option 1")) << "blanked by the lifeline";
    EXPECT_TRUE(accessible(box(1))->state().disabled);
}

TEST_F(Accessibility, LabelsAndPicturesAreNamed)
{
    enterQuiz(8);
    EXPECT_EQ(accessible(label("lblQnum"))->text(QAccessible::Name), QStringLiteral("Question 1"));
    EXPECT_EQ(accessible(label("lblQuestion"))->text(QAccessible::Name), QStringLiteral(" Find an ODD item in given group?"));
    QAccessibleInterface *happy = accessible(child<QWidget>(question(), "Image3"));
    EXPECT_EQ(happy->text(QAccessible::Name), QStringLiteral("happy face"));
    EXPECT_EQ(happy->role(), QAccessible::Graphic);
    EXPECT_EQ(accessible(child<QWidget>(question(), "Image4"))->text(QAccessible::Name), QStringLiteral("sad face"));
}

TEST_F(Accessibility, OutlinedBoxesAreHiddenFromAssistiveTools)
{
    QAccessibleInterface *screen = accessible(question());
    ASSERT_NE(screen, nullptr);
    std::vector<QString> names;
    for (int i = 0; i < screen->childCount(); ++i) {
        QAccessibleInterface *c = screen->child(i);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(screen->indexOfChild(c), i);
        names.push_back(c->object()->objectName());
    }
    EXPECT_EQ(std::count(names.begin(), names.end(), QStringLiteral("Image1")), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), QStringLiteral("Image2")), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), QStringLiteral("Image3")), 1);
    EXPECT_EQ(std::count(names.begin(), names.end(), QStringLiteral("cmdOptions")), 1);
    EXPECT_TRUE(accessible(child<QWidget>(question(), "Image1"))->state().invisible);
}

}  // namespace
}  // namespace screens_test
