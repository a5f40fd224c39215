// On a 640x480 display every screen opens and what lies beyond the edge is cut off; on a display
// smaller than the screens' controls (600x400) a whole game still runs, Quit beyond the edge is
// still the cancel button, and the game ends with status 0.

// Own
#include "e2e.h"
#include "quiz/title_rules.h"
#include "screens/question_layout.h"
#include "screens/title_layout.h"

// Standard
#include <ostream>

// Names a display size in a test's name and messages.
inline void PrintTo(const QSize &size, std::ostream *out) { *out << size.width() << "x" << size.height(); }

namespace e2e {
namespace {

using driver::Screen;

class SmallDisplay : public E2e, public ::testing::WithParamInterface<QSize> {};

TEST_P(SmallDisplay, AWholeGameRunsAndThePromptKeepsItsPlace)
{
    const QSize size = GetParam();
    driver::Session &s = session({.display = size});
    driver::Process &game = s.launch({gamePath()});
    s.waitForScreen(Screen::Title, 10s);

    // lblPress keeps its place whatever the display: its own colour just inside its left edge,
    // below its text, and the title's background just outside that edge and above its top.
    s.waitUntilStill();
    const QRect press = s.placeOf(screens::title::kPress.geometry);
    const int y = std::min(press.bottom(), size.height() - 1) - 2;
    const auto colourAt = [&s](int x, int atY) { return s.display().pixel({x, atY}).name().toStdString(); };
    const std::string green = screens::toQColor(quiz::TitleControls{}.press.back).name().toStdString();
    const std::string yellow = driver::backgroundOf(Screen::Title).name().toStdString();
    EXPECT_EQ(colourAt(press.left() + 1, y), green) << "the prompt moved or lost its colour";
    EXPECT_EQ(colourAt(press.left() - 2, y), yellow) << "the prompt moved";
    EXPECT_EQ(colourAt(press.left() + 1, press.top() - 2), yellow) << "the prompt moved";

    s.key("Return");
    s.waitForScreen(Screen::Question, 5s);
    driver::revealOptions(s);
    const QRect quit = s.placeOf(screens::question::kQuit.control.geometry);
    if (QRect(QPoint(0, 0), size).contains(quit))
        s.click(screens::question::kQuit.control.geometry);
    else
        s.key("Escape");   // beyond the edge Quit is still the cancel button
    s.waitForScreen(Screen::Farewell, 10s);
    s.key("x");
    EXPECT_EQ(game.waitExit(5s), 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SmallDisplay, ::testing::Values(QSize(640, 480), QSize(600, 400)));

}  // namespace
}  // namespace e2e
