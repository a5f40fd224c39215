// Playing without a mouse: the keys reach the controls a click would.

// Own
#include "screen_fixture.h"
#include "quiz/question_bank.h"

namespace screens_test {
namespace {

class Keyboard : public ShellFixture {
protected:
    // Keys go where the focus is, as they do for a player.
    QWidget &focused() { return *question().focusWidget(); }
};

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

}  // namespace
}  // namespace screens_test
