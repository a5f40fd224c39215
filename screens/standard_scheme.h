// The one colour scheme the game draws with on every desktop. The screens name system colours
// (window text, button face, button text, 3-D highlight) beside fixed colours of their own: a light
// ground with dark text, a green band with black text. A dark desktop theme would turn the system
// colours light and leave the fixed ones as they are, so they resolve from this scheme instead,
// whatever the theme, and stay so when the desktop changes its theme while the game runs.
#pragma once

// Qt
#include <QPalette>

namespace screens {

// Every role of every colour group set, so that Qt, re-resolving the application's palette against
// a new desktop theme, finds nothing left to take from the theme.
QPalette standardScheme();

}  // namespace screens
