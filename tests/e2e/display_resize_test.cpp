// A maximized screen follows the display when the display changes size (RandR, as when a monitor
// takes a new mode): grown, it covers the whole new area within a second; shrunk back, it fits
// again. With no window manager the game alone must do it; with one, it must not get in its way.
// The controls keep their places; only the window's size follows.

// Own
#include "e2e.h"
#include "quiz/title_rules.h"
#include "screens/title_layout.h"

// Standard
#include <iostream>
#include <ostream>

namespace e2e {
namespace {

using driver::Screen;

constexpr QSize kFirstSize{1024, 768};
constexpr QSize kGrownSize{1280, 1024};

struct Case {
    Screen screen;
    bool windowManager;
    const char *name;
};

// Names the case in a failing test's messages.
void PrintTo(const Case &c, std::ostream *out) { *out << c.name; }

class FollowsDisplay : public E2e, public ::testing::WithParamInterface<Case> {
protected:
    // The game's visible window that covers most of the display, as the display places it.
    static QRect shownWindow(driver::Session &s, const driver::Process &game)
    {
        QRect largest;
        for (const driver::WindowInfo &w : s.display().windowsOf(game.pid()))
            if (w.viewable && w.geometry.width() * w.geometry.height() > largest.width() * largest.height())
                largest = w.geometry;
        return largest;
    }

    // Where the screen's window ends up after the display took `size`: within a second it reaches
    // the display's bottom-right corner, lies wholly on the display, and shows the screen's
    // background in that corner. Records a failure with what it saw otherwise.
    static QRect waitForFit(driver::Session &s, const driver::Process &game, Screen screen, QSize size)
    {
        const QRect display(QPoint(0, 0), size);
        const QPoint corner = display.bottomRight();
        const QColor background = driver::backgroundOf(screen);
        const auto fits = [&] {
            const QRect w = shownWindow(s, game);
            return display.contains(w) && w.bottomRight() == corner && s.display().pixel(corner) == background;
        };
        const auto resized = driver::Clock::now();
        const auto seen = s.display().waitUntil(fits, 1s);
        const QRect window = shownWindow(s, game);
        EXPECT_NE(seen, driver::Clock::time_point{})
            << "at " << size.width() << "x" << size.height() << " the window stands at " << window.x() << ","
            << window.y() << " " << window.width() << "x" << window.height() << " and the corner "
            << corner.x() << "," << corner.y() << " shows " << s.display().pixel(corner).name().toStdString()
            << " instead of " << background.name().toStdString();
        if (seen != driver::Clock::time_point{})
            std::cout << "window fitted " << size.width() << "x" << size.height() << " after "
                      << seconds(seen - resized) * 1000 << " ms" << std::endl;
        return window;
    }

    // The controls stand where they stood before the resize: the question screen's whole controls
    // area shows as it did (it has no timers); the title's first prompt keeps its edges (its text
    // changes colour with the title's beat, its background does not).
    static void expectControlsInPlace(driver::Session &s, Screen screen, QPoint origin, const QImage &before)
    {
        if (screen == Screen::Question) {
            EXPECT_EQ(s.display().grab(driver::controlsArea().translated(origin)), before)
                << "the question screen's controls moved or changed";
            return;
        }
        const QRect press = s.placeOf(screens::title::kPress.geometry).translated(origin);
        const QColor green = screens::toQColor(quiz::TitleControls{}.press.back);
        const QColor yellow = driver::backgroundOf(Screen::Title);
        EXPECT_EQ(s.display().pixel({press.left() + 1, press.bottom() - 2}), green) << "the prompt moved";
        EXPECT_EQ(s.display().pixel({press.left() - 2, press.bottom() - 2}), yellow) << "the prompt moved";
        EXPECT_EQ(s.display().pixel({press.left() + 1, press.top() - 2}), yellow) << "the prompt moved";
    }
};

TEST_P(FollowsDisplay, GrownTheWindowCoversTheNewAreaAndShrunkItFitsAgain)
{
    const Case c = GetParam();
    driver::Session &s =
        session({.display = kFirstSize, .largestDisplay = kGrownSize, .windowManager = c.windowManager});
    driver::Process &game = s.launch({gamePath()});
    s.waitForScreen(Screen::Title, 10s);
    if (c.screen == Screen::Question) {
        s.key("Return");
        s.waitForScreen(Screen::Question, 5s);
    }
    s.waitUntilStill();
    const QRect first = waitForFit(s, game, c.screen, kFirstSize);
    const QImage controls = s.display().grab(driver::controlsArea().translated(first.topLeft()));

    s.resizeDisplay(kGrownSize);
    const QRect grown = waitForFit(s, game, c.screen, kGrownSize);
    EXPECT_EQ(grown.topLeft(), first.topLeft()) << "the window moved instead of growing";
    s.waitUntilStill();
    expectControlsInPlace(s, c.screen, grown.topLeft(), controls);

    s.resizeDisplay(kFirstSize);
    const QRect shrunk = waitForFit(s, game, c.screen, kFirstSize);
    EXPECT_EQ(shrunk, first) << "shrunk back, the window is not as it first was";
    s.waitUntilStill();
    expectControlsInPlace(s, c.screen, shrunk.topLeft(), controls);

    // The game goes on as before: the options button still answers where the layout puts it, and
    // Esc still leaves the title.
    if (c.screen == Screen::Question) {
        driver::revealOptions(s);
    } else {
        s.key("Escape");
        EXPECT_EQ(game.waitExit(5s), 0);
    }
}

using DisplaySize = E2e;

// The display takes any size up to its largest, also one wider but lower than the last, and
// refuses a larger one without changing; a display started without a largest keeps its size.
TEST_F(DisplaySize, TakesSizesUpToItsLargestAndRefusesOthers)
{
    driver::Session &s = session({.display = kFirstSize, .largestDisplay = kGrownSize});
    EXPECT_EQ(s.display().size(), kFirstSize);
    for (const QSize size : {QSize(1280, 600), QSize(800, 1024), kGrownSize, QSize(640, 480), kFirstSize}) {
        EXPECT_TRUE(s.display().resize(size)) << size.width() << "x" << size.height();
        EXPECT_EQ(s.display().size(), size);
    }
    EXPECT_FALSE(s.display().resize(QSize(1600, 1200)));
    EXPECT_FALSE(s.display().resize(QSize(1281, 1024)));
    EXPECT_EQ(s.display().size(), kFirstSize);

    driver::Session &fixed = session({.display = kFirstSize});
    EXPECT_FALSE(fixed.display().resize(kGrownSize));
    EXPECT_EQ(fixed.display().size(), kFirstSize);
}

INSTANTIATE_TEST_SUITE_P(Screens, FollowsDisplay,
                         ::testing::Values(Case{Screen::Title, false, "TitleAlone"},
                                           Case{Screen::Question, false, "QuestionAlone"},
                                           Case{Screen::Title, true, "TitleWithWindowManager"}),
                         [](const ::testing::TestParamInfo<Case> &info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2e
