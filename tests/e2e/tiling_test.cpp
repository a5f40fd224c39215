// The game under sway, a tiling Wayland compositor, which lays a new window beside the open ones
// instead of over them: each screen, the farewell too, still fills the output alone. Under a
// stacking window manager the farewell still lies over the question screen.

// Own
#include "e2e.h"
#include "screens/farewell_layout.h"
#include "screens/question_layout.h"

// Standard
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

namespace e2e {
namespace {

using driver::Screen;
namespace farewell = screens::farewell;

using Tiling = E2e;
using Stacking = E2e;

// The screen's background at the probe point and in all four corners of the output.
void expectFillsTheOutput(const driver::Session &s, const QImage &shot, Screen screen)
{
    const QSize size = shot.size();
    const std::string background = driver::backgroundOf(screen).name().toStdString();
    for (const QPoint at : {s.probe(), QPoint(0, 0), QPoint(size.width() - 1, 0), QPoint(0, size.height() - 1),
                            QPoint(size.width() - 1, size.height() - 1)})
        EXPECT_EQ(shot.pixelColor(at).name().toStdString(), background)
            << "the " << driver::nameOf(screen) << " screen at " << at.x() << "," << at.y();
}

// Pixels of this colour outside every control of the screen shown, where only its background may be.
int strayPixels(const QImage &shot, Screen shown, QColor colour)
{
    std::vector<QRect> controls;
    for (const screens::Geometry &g : driver::controlsOf(shown))
        controls.push_back(driver::placeOf(g));
    int stray = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixelColor(x, y) == colour &&
                std::none_of(controls.begin(), controls.end(), [&](const QRect &r) { return r.contains(x, y); }))
                ++stray;
    return stray;
}

// Title, a key, the question screen, Space on "Click me to see Options", Esc (Quit), and the
// farewell six seconds later: alone on the output, its last line where designed, nothing of the
// question screen beside it. A key then ends the game.
TEST_F(Tiling, EveryScreenFillsTheOutputAndTheFarewellHasItAlone)
{
    driver::Session &s = session({.display = {1024, 768}, .tiling = true});
    ASSERT_EQ(s.display().size(), QSize(1024, 768));
    driver::Process &game = s.launch({gamePath()});
    s.waitForScreen(Screen::Title, 10s);
    s.waitUntilStill();
    expectFillsTheOutput(s, s.shot("title"), Screen::Title);

    ASSERT_TRUE(s.key("a"));
    s.waitForScreen(Screen::Question, 10s);
    s.waitUntilStill();
    const QImage question = s.shot("question");
    expectFillsTheOutput(s, question, Screen::Question);
    // The bare output is black as well: the question screen shows by its first control, in its place.
    EXPECT_NE(question.pixelColor(s.centreOf(screens::question::kShowOptions.control.geometry)),
              driver::backgroundOf(Screen::Question))
        << "\"Click me to see Options\" is not where designed";

    ASSERT_TRUE(s.key("space"));   // the focus starts on "Click me to see Options"
    s.waitUntilStill();
    ASSERT_TRUE(s.key("Escape"));
    const auto quitAt = driver::Clock::now();
    s.waitForScreen(Screen::Farewell, 15s);
    const QPoint farCorner(s.display().size().width() - 1, s.display().size().height() - 1);
    const auto filled = s.display().waitUntil(
        [&] {
            const QImage shot = s.shot();
            return shot.pixelColor(0, 0) == driver::backgroundOf(Screen::Farewell) &&
                   shot.pixelColor(farCorner) == driver::backgroundOf(Screen::Farewell);
        },
        5s, 50ms);
    std::cout << "the farewell came " << seconds(driver::Clock::now() - quitAt) << " s after Esc"
              << (filled == driver::Clock::time_point{} ? ", and never filled the output" : "") << std::endl;
    s.waitUntilStill();
    const QImage shot = s.shot("farewell");
    expectFillsTheOutput(s, shot, Screen::Farewell);
    EXPECT_EQ(strayPixels(shot, Screen::Farewell, driver::backgroundOf(Screen::Question)), 0)
        << "the question screen's background shows beside the farewell";

    const auto last = std::find_if(farewell::kLabels.begin(), farewell::kLabels.end(),
                                   [](const farewell::StaticLabel &l) { return std::string(l.name) == "Label1"; });
    ASSERT_NE(last, farewell::kLabels.end());
    const QRect place = s.placeOf(last->geometry);
    ASSERT_TRUE(QRect(QPoint(0, 0), shot.size()).contains(place)) << "the last line lies off the output";
    const QImage line = shot.copy(place);
    int inked = 0;
    for (int y = 0; y < line.height(); ++y)
        for (int x = 0; x < line.width(); ++x)
            inked += line.pixelColor(x, y) != driver::backgroundOf(Screen::Farewell) ? 1 : 0;
    EXPECT_GT(inked, 0) << "the farewell's last line is not drawn where designed";

    ASSERT_TRUE(s.key("a"));
    EXPECT_EQ(game.waitExit(5s), 0);
    EXPECT_EQ(game.output(), "");
}

// A stacking window manager (Openbox) lays the farewell over the question screen, which stays
// open beneath it, as large as the farewell, as it always has.
TEST_F(Stacking, TheQuestionScreenStaysOpenBeneathTheFarewell)
{
    driver::Session &s = session({.windowManager = true});
    driver::Process &game = s.launch({gamePath()});
    s.waitForScreen(Screen::Title, 10s);
    ASSERT_TRUE(s.key("a"));
    s.waitForScreen(Screen::Question, 10s);
    ASSERT_TRUE(s.key("space"));
    s.waitUntilStill();
    ASSERT_TRUE(s.key("Escape"));
    s.waitForScreen(Screen::Farewell, 15s);
    s.waitUntilStill(500ms);
    std::vector<QRect> shown;
    for (const driver::WindowInfo &w : s.display().windowsOf(game.pid()))
        if (w.viewable)
            shown.push_back(w.geometry);
    ASSERT_EQ(shown.size(), 2u) << "the question screen and the farewell are both open";
    EXPECT_EQ(shown[0], shown[1]) << "the farewell lies over the question screen";
    ASSERT_TRUE(s.key("a"));
    EXPECT_EQ(game.waitExit(5s), 0);
}

}  // namespace
}  // namespace e2e
