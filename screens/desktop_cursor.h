// The pointer's size and theme a desktop sets for its players, carried to the game on Wayland.
#pragma once

namespace screens {

// On Wayland every program draws its own pointer. GNOME keeps the size and theme a player sets (a
// larger pointer for a low-vision player) in its settings, which it publishes to programs through
// its desktop portal and not in the environment; Qt's GTK theme, which the game does not load, was
// what read them there for Qt. Asks the portal for the two, where a portal already runs and the
// player's environment names neither, and hands them to Qt's Wayland platform through XCURSOR_SIZE
// and XCURSOR_THEME, which it reads when a pointer first comes over a window. Call it once the
// application exists and before any screen shows. On X11 the X server's resources carry both to Qt.
void followDesktopCursor();

}  // namespace screens
