// The game on Qt's Wayland platform under a headless weston: the title screen covers the output,
// and the game ends promptly and quietly when it is told to and when its compositor goes away.
// weston's headless backend takes no input, so these tests press no keys.

// Own
#include "driver/weston_display.h"
#include "e2e.h"

// Standard
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace e2e {
namespace {

using driver::Screen;

using Wayland = E2e;

int lines(const std::string &output) { return static_cast<int>(std::count(output.begin(), output.end(), '\n')); }

// An exit of the program's own, as against an end by a signal (an abort, a fault, or one sent).
bool exitedByItself(int status) { return status >= 0 && status < 128; }

// The game is sent to the compositor alone, with no X display beside it even when the caller has
// one, and the title's background shows at the probe point and in all four corners of the output.
TEST_F(Wayland, TheTitleScreenFillsTheOutputAndTheGameSaysNothing)
{
    setenv("DISPLAY", ":of-the-caller", 1);
    driver::Session &s = session({.display = {800, 600}, .wayland = true});
    const std::vector<std::string> env = s.environment();
    unsetenv("DISPLAY");
    const auto has = [&env](const std::string &entry) { return std::find(env.begin(), env.end(), entry) != env.end(); };
    EXPECT_TRUE(has("QT_QPA_PLATFORM=wayland"));
    EXPECT_TRUE(std::any_of(env.begin(), env.end(), [](const std::string &e) { return e.starts_with("WAYLAND_DISPLAY="); }));
    EXPECT_FALSE(std::any_of(env.begin(), env.end(), [](const std::string &e) { return e.starts_with("DISPLAY="); }));
    EXPECT_THROW(s.key("a"), std::runtime_error) << "a display without a keyboard must not pretend to type";

    driver::Process &game = s.launch({gamePath()});
    s.waitForScreen(Screen::Title, 10s);
    const QImage shot = s.shot("title");
    const QSize size = s.display().size();
    ASSERT_EQ(shot.size(), size);
    const std::string yellow = driver::backgroundOf(Screen::Title).name().toStdString();
    for (const QPoint at : {s.probe(), QPoint(0, 0), QPoint(size.width() - 1, 0), QPoint(0, size.height() - 1),
                            QPoint(size.width() - 1, size.height() - 1)})
        EXPECT_EQ(shot.pixelColor(at).name().toStdString(), yellow) << "at " << at.x() << "," << at.y();
    EXPECT_TRUE(game.running());
    EXPECT_EQ(game.output(), "");
}

// SIGTERM, as a desktop's logout sends it, ends the game at once and without a crash report.
TEST_F(Wayland, SigtermEndsTheGameAtOnce)
{
    driver::Session &s = session({.wayland = true});
    driver::Process &game = s.launch({gamePath()});
    s.waitForScreen(Screen::Title, 10s);
    const auto sent = driver::Clock::now();
    ::kill(game.pid(), SIGTERM);
    const int status = game.waitExit(5s);
    const double took = seconds(driver::Clock::now() - sent);
    std::cout << "ended " << took << " s after SIGTERM, status " << status << std::endl;
    ASSERT_NE(status, -1) << "still running 5 s after SIGTERM";
    EXPECT_LT(took, 1.0);
    EXPECT_TRUE(status == 128 + SIGTERM || exitedByItself(status)) << "status " << status;
    EXPECT_LE(lines(game.output()), 1) << game.output();
}

// The compositor ending, asked to or killed outright, takes the game with it: within seconds, in
// one line at most, with a status that says it failed, and without a crash report.
TEST_F(Wayland, TheCompositorGoingAwayEndsTheGameWithAFailure)
{
    for (const int signal : {SIGTERM, SIGKILL}) {
        SCOPED_TRACE("compositor ended by signal " + std::to_string(signal));
        driver::Session &s = session({.wayland = true});
        driver::Process &game = s.launch({gamePath()});
        s.waitForScreen(Screen::Title, 10s);
        const auto sent = driver::Clock::now();
        ::kill(dynamic_cast<driver::WestonDisplay &>(s.display()).pid(), signal);
        const int status = game.waitExit(5s);
        const double took = seconds(driver::Clock::now() - sent);
        std::cout << "signal " << signal << " to weston: the game ended " << took << " s later, status " << status
                  << ", output: " << game.output() << std::endl;
        ASSERT_NE(status, -1) << "still running 5 s after its compositor went away";
        EXPECT_NE(status, 0);
        EXPECT_TRUE(exitedByItself(status)) << "status " << status;
        EXPECT_LE(lines(game.output()), 1) << game.output();
    }
}

}  // namespace
}  // namespace e2e
