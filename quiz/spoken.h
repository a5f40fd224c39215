// What a screen reader hears on the question screen beyond the captions it reads by itself: the
// question with its number, what each box answers, what just happened, and where the focus goes.
// Made from the controls alone, so that every rule is tested without a display.
#pragma once

// Own
#include "controls.h"

// Standard
#include <array>
#include <string>

namespace quiz {

// The controls that can hold the keyboard focus, and None for the screen itself.
enum class Control { None, ShowOptions, Next, Quit, Lifeline, Box1, Box2, Box3, Box4 };

// The screen's tab order: the four buttons, then the boxes.
inline constexpr std::array<Control, 8> kTabOrder{Control::ShowOptions, Control::Next,     Control::Quit,
                                                  Control::Lifeline,    Control::Box1,     Control::Box2,
                                                  Control::Box3,        Control::Box4};

// "Question 3: <the question as shown>", with the message line's reminder after it while there is
// one; empty before the first question is posed.
std::string spokenQuestion(const QuestionControls &c);

// 1 <= option <= kOptionCount. The box's name: "Option 2: <caption>", or "Option 2" while the
// option shows nothing. Its description tells what a tick would do, or why it can do nothing.
std::string boxName(const QuestionControls &c, int option);
std::string boxDescription(const QuestionControls &c, int option);

// What is said aloud after an event changed the screen from `before` to `after`: the praise, the
// consolation with the right answer (option `correct`, 1 to 4, the one shown as right), the win,
// the goodbye, or what the 50-50 left. Empty when the event said nothing new.
std::string announcement(const QuestionControls &before, const QuestionControls &after, int correct);

// Where the focus rests after that event: on the options button for a new question, on the first
// option once they show, on "Next Question" after a right answer; never on a control that can no
// longer be used (None when nothing can be).
Control focusAfter(const QuestionControls &before, const QuestionControls &after, Control focused);

}  // namespace quiz
