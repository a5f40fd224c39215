// The answer keys of the question screen on every keyboard layout: the keys in the digits' place
// answer by their place (on a French keyboard they type & é " ' unshifted), and the keys that type
// the digits 1 to 4 answer by the digit. Keys arrive as the platform gives them, with the XKB
// keycode as their native scan code, at the widget that has the focus.

// Own
#include "screen_fixture.h"
#include "screens/answer_keys.h"

// Qt
#include <QApplication>
#include <QKeyEvent>

namespace screens_test {
namespace {

TEST(AnswerKeys, TypedDigitFirstThenTheDigitRowsPlace)
{
    struct Case {
        int key;
        quint32 scanCode;
        int option;
    };
    const Case cases[] = {
        {Qt::Key_Ampersand, 10, 1},   // French, unshifted
        {Qt::Key_Apostrophe, 13, 4},
        {Qt::Key_Exclam, 10, 1},      // US, with Shift
        {Qt::Key_3, 11, 3},           // a layout that types 3 on the key of 2: the digit it types wins
        {Qt::Key_7, 11, 2},           // a digit that answers nothing falls back on the key's place
        {Qt::Key_4, 0, 4},            // a key made up by a program, with no place
        {Qt::Key_Ampersand, 0, 0},
        {Qt::Key_Escape, 9, 0},       // the keys either side of the digit row's 1 to 4
        {Qt::Key_ParenLeft, 14, 0},
        {Qt::Key_5, 14, 0},
        {Qt::Key_0, 19, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(screens::answeredOption(c.key, c.scanCode), c.option) << "key 0x" << std::hex << c.key << std::dec
                                                                        << " at scan code " << c.scanCode;
}

struct KeyCase {
    const char *name;
    Qt::Key key;
    quint32 scanCode;
    const char *text;   // UTF-8
    Qt::KeyboardModifiers modifiers;
    int option;         // 0: answers nothing
};

void PrintTo(const KeyCase &c, std::ostream *os) { *os << c.name; }

class AnswerKey : public ShellFixture, public ::testing::WithParamInterface<KeyCase> {
protected:
    // Pressed and released at the focused control, from which Qt passes a key it leaves to the window.
    void send(const KeyCase &c)
    {
        QWidget *target = question().focusWidget() != nullptr ? question().focusWidget() : &question();
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, c.key, c.modifiers, c.scanCode, 0, 0, QString::fromUtf8(c.text));
            QApplication::sendEvent(target, &event);
        }
    }
};

TEST_P(AnswerKey, TicksItsOptionAndNothingElseOrDoesNothing)
{
    const KeyCase &c = GetParam();
    enterQuiz(0);
    ASSERT_EQ(question().focusWidget(), &button("cmdOptions"));
    send(c);
    EXPECT_TRUE(label("lblAnsOne").text().isEmpty()) << "the key also pressed the focused button";
    for (int option = 1; option <= quiz::kOptionCount; ++option)
        EXPECT_FALSE(box(option).isChecked()) << "before the options show, the guard undoes the tick";

    press(*question().focusWidget(), Qt::Key_Space);
    ASSERT_FALSE(label("lblAnsOne").text().isEmpty());
    QWidget *focusedBefore = question().focusWidget();
    send(c);
    for (int option = 1; option <= quiz::kOptionCount; ++option)
        EXPECT_EQ(box(option).isChecked(), option == c.option) << "box " << option;
    EXPECT_EQ(label("lblTest").text().isEmpty(), c.option == 0) << "judged: praise or consolation shows";
    if (c.option == 0) {
        EXPECT_EQ(question().focusWidget(), focusedBefore) << "a key that answers nothing moved the focus";
    }
}

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;

INSTANTIATE_TEST_SUITE_P(
    FrenchDigitRow, AnswerKey,
    ::testing::Values(KeyCase{"Ampersand", Qt::Key_Ampersand, 10, "&", kNone, 1},
                      KeyCase{"Eacute", Qt::Key_Eacute, 11, "\u00e9", kNone, 2},
                      KeyCase{"QuoteDbl", Qt::Key_QuoteDbl, 12, "\"", kNone, 3},
                      KeyCase{"Apostrophe", Qt::Key_Apostrophe, 13, "'", kNone, 4},
                      KeyCase{"ShiftedTwo", Qt::Key_2, 11, "2", Qt::ShiftModifier, 2},
                      KeyCase{"ParenLeftOfKeyFive", Qt::Key_ParenLeft, 14, "(", kNone, 0},
                      KeyCase{"ShiftedFive", Qt::Key_5, 14, "5", Qt::ShiftModifier, 0}),
    [](const auto &info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    OtherKeys, AnswerKey,
    ::testing::Values(KeyCase{"KeypadThree", Qt::Key_3, 89, "3", Qt::KeypadModifier, 3},
                      KeyCase{"UsFour", Qt::Key_4, 13, "4", kNone, 4},
                      KeyCase{"UsShiftedOne", Qt::Key_Exclam, 10, "!", Qt::ShiftModifier, 1},
                      KeyCase{"LetterA", Qt::Key_A, 24, "a", kNone, 0},
                      KeyCase{"EacuteWithoutAPlace", Qt::Key_Eacute, 0, "\u00e9", kNone, 0}),
    [](const auto &info) { return std::string(info.param.name); });

}  // namespace
}  // namespace screens_test
