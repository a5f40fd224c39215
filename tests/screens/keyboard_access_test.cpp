// Playing without a mouse, and what assistive tools are told.

// Own
#include "screen_fixture.h"
#include "quiz/question_bank.h"

// Qt
#include <QAccessible>

// Standard
#include <algorithm>
#include <vector>

namespace screens_test {
namespace {

class Keyboard : public ShellFixture {
protected:
    // Keys go where the focus is, as they do for a player.
    QWidget &focused() { return *question().focusWidget(); }
};
using Accessibility = ShellFixture;

TEST_F(Keyboard, NumberKeysTickTheirOptionAsAClickWould)
{
    enterQuiz(14);   // option 3 is right
    type(question(), '3');
    EXPECT_FALSE(box(3).isChecked()) << "before the options show, the guard undoes the tick";
    EXPECT_TRUE(button("cmdOptions").isEnabled());
    ASSERT_EQ(&focused(), &button("cmdOptions"));
    press(focused(), Qt::Key_Space);
    ASSERT_FALSE(label("lblAnsthree").text().isEmpty());
    type(question(), '3');
    EXPECT_TRUE(box(3).isChecked());
    EXPECT_TRUE(button("cmdNext").isEnabled());
    type(question(), '1');
    EXPECT_FALSE(box(1).isChecked()) << "a judged question takes no second answer";
}

TEST_F(Keyboard, NumberKeysSkipOptionsTheLifelineRemoved)
{
    enterQuiz(3);   // option 1 is right; the lifeline removes 2 and 3
    click(button("cmdOptions"));
    click(button("cmdLife"));
    type(question(), '2');
    EXPECT_FALSE(box(2).isChecked());
    EXPECT_FALSE(button("cmdNext").isEnabled());
    for (char other : {'5', '0', 'a'})
        type(question(), other);
    EXPECT_FALSE(button("cmdNext").isEnabled());
    type(question(), '4');
    EXPECT_TRUE(box(4).isChecked());
    EXPECT_EQ(label("lblTest").text(), QStringLiteral("Afsos!!  yeh galat jawab hamare sath bhag lene ka shukriya....."));
}

TEST_F(Keyboard, AWholeGameNeedsNoMouse)
{
    enterQuiz(0);
    press(focused(), Qt::Key_Space);   // reveal
    type(focused(), '1');
    m_random.pick(13, quiz::kRandomEntries);
    press(focused(), Qt::Key_Return);  // next
    EXPECT_EQ(label("lblQnum").text(), QStringLiteral("2"));
    ASSERT_EQ(&focused(), &button("cmdOptions")) << "focus is back on the first control";
    press(focused(), Qt::Key_Space);
    press(focused(), Qt::Key_Escape);  // quit
    EXPECT_TRUE(question().endTimer().isActive());
}

QAccessibleInterface *accessible(QObject &o) { return QAccessible::queryAccessibleInterface(&o); }

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
