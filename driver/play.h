// Steps of a game that the tests, the screenshot maker and the system-call check take alike.
#pragma once

// Own
#include "quiz/question_bank.h"
#include "session.h"

namespace driver {

// Clicks "Click me to see Options" on a question screen that has finished drawing, and waits until
// the first option's label changes. Returns when it was seen; throws Failure when it is not.
Clock::time_point revealOptions(Session &session, std::chrono::milliseconds timeout = 5s);
// The same by Space, which presses the button while it has the focus, as it has on a new question.
Clock::time_point revealOptionsBySpace(Session &session, std::chrono::milliseconds timeout = 5s);

// What the colours of a judged question say: the correct option (light green) and a wrongly ticked
// one (orange), 1 to 4, each 0 when no option shows that colour and -1 when several do.
struct Judgement {
    int correct = 0;
    int wrong = 0;
};
Judgement readJudgement(Session &session);

// Presses a key (by keysym name) on a question screen whose options show, and waits until the
// message line shows the game's judgement, a praise or a consolation. Returns the option the
// colours of the judgement give as answered, 1 to 4, or 0 when they give none or several; throws
// Failure when no judgement came.
int answerByKey(Session &session, const std::string &keysymName, std::chrono::milliseconds timeout = 5s);

// The bank's entry whose question follows "Question N: " in `said` (what a screen reader spoke, or
// the description the options button carries), spaces normalised; none when the words that follow
// are no question of the bank. More may follow the question (the message line's reminder): the
// longest question followed by nothing or by a space is the one said.
const quiz::BankEntry *questionSaid(const std::string &said, int number);

// The colour the title rules give the first prompt (lblPress) at Timer1's first tick.
QColor pressColourAfterFirstTick();
// The whole display once the title's first prompt shows that colour and the screen is still: two
// shots of the title taken in this phase of its colour beat show the same colours.
QImage shootTitleAfterFirstTick(Session &session);

}  // namespace driver
