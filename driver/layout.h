// Where the game draws its screens and in which colours, read from the screens' own layout tables
// and converted as the game converts them: nobody writes a control's pixel position by hand.
#pragma once

// Own
#include "quiz/screen_switcher.h"
#include "screens/platform.h"

// Qt
#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>

// Standard
#include <array>
#include <optional>
#include <vector>

namespace driver {

// The rules' own screens: what the rules ask to show is what the driver looks for.
using quiz::Screen;
inline constexpr std::array<Screen, 3> kScreens{Screen::Title, Screen::Question, Screen::Farewell};
const char *nameOf(Screen screen);

// The colour a screen fills its window with, resolved through the game's own style (see
// Application), so that a system colour comes out as the game shows it.
QColor backgroundOf(Screen screen);
// The screen whose background this is, if any.
std::optional<Screen> screenWithBackground(QColor colour);

// Every control of a screen, in twips from its window's corner.
std::vector<screens::Geometry> controlsOf(Screen screen);

// The game lays its screens out at 96 dpi in device-independent pixels; at a scale of 2 (by
// QT_SCALE_FACTOR=2 or by Xft.dpi 192) each of those pixels covers 2 x 2 pixels of the display.
QRect placeOf(const screens::Geometry &control, int scale = 1);
QPoint centreOf(const screens::Geometry &control, int scale = 1);

// The smallest rectangle that holds every control of every screen.
QRect controlsArea(int scale = 1);
// A point of a display of this size outside every control of every screen, where only the
// screen's background shows: half-way from the controls to the display's far corner where the
// display is larger than the controls, else the free point nearest that corner.
QPoint probePoint(QSize display, int scale = 1);

}  // namespace driver
