// Steps of a game that the tests, the screenshot maker and the system-call check take alike.
#pragma once

// Own
#include "session.h"

namespace driver {

// Clicks "Click me to see Options" on a question screen that has finished drawing, and waits until
// the first option's label changes. Returns when it was seen; throws Failure when it is not.
Clock::time_point revealOptions(Session &session, std::chrono::milliseconds timeout = 5s);

// The colour the title rules give the first prompt (lblPress) at Timer1's first tick.
QColor pressColourAfterFirstTick();
// The whole display once the title's first prompt shows that colour and the screen is still: two
// shots of the title taken in this phase of its colour beat show the same colours.
QImage shootTitleAfterFirstTick(Session &session);

}  // namespace driver
