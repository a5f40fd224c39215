// The game on Qt's Wayland platform under a headless weston: the title screen covers the output,
// and the game ends promptly and quietly when it is told to and when its compositor goes away.
// weston's headless backend takes no input, so these tests press no keys; where the pointer matters,
// weston runs inside an Xvfb of its own instead.

// Own
#include "driver/weston_display.h"
#include "e2e.h"

// Standard
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <regex>
#include <string>
#include <thread>
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

// The sides, in pixels, of the square buffers the game made for pointer images, as the game's
// Wayland log (WAYLAND_DEBUG) names them: "wl_buffer@12" up to libwayland 1.22, "wl_buffer#12" since.
std::vector<int> pointerSizes(const std::string &log)
{
    static const std::regex buffer(R"(create_buffer\(new id wl_buffer[@#]\d+, \d+, (\d+), (\d+),)");
    std::vector<int> sides;
    for (auto it = std::sregex_iterator(log.begin(), log.end(), buffer); it != std::sregex_iterator(); ++it)
        if ((*it)[1] == (*it)[2])
            sides.push_back(std::stoi((*it)[1]));
    return sides;
}

// GNOME on Wayland publishes the pointer's size a player sets (larger, for a low-vision player)
// through its desktop portal, not in the environment. Over the game the pointer has that size,
// from the desktop's cursor theme; with no portal running, Qt's own.
TEST_F(Wayland, ThePointerOverTheGameHasTheSizeTheDesktopSets)
{
    constexpr int kDesktopSize = 48;   // a size Adwaita draws, and neither of Qt's own (32, 24)
    for (const bool portal : {true, false}) {
        SCOPED_TRACE(portal ? "with the desktop's portal" : "with no portal");
        driver::Session &s = session({.sessionBus = true, .wayland = true, .waylandInput = true});
        if (portal) {
            s.launch({"/usr/bin/python3", TARVELO_DESKTOP_PORTAL, std::to_string(kDesktopSize), "Adwaita"},
                     {"DBUS_SESSION_BUS_ADDRESS=" + s.busAddress()}, false, "portal");
            const auto deadline = driver::Clock::now() + 10s;
            while (!s.busNameOwned("org.freedesktop.portal.Desktop")) {
                ASSERT_LT(driver::Clock::now(), deadline) << "the portal did not come up";
                std::this_thread::sleep_for(50ms);
            }
        }
        driver::Process &game = s.launch({gamePath()}, {"XDG_CURRENT_DESKTOP=GNOME", "WAYLAND_DEBUG=client",
                                                        "XCURSOR_SIZE", "XCURSOR_THEME"});
        s.waitForScreen(Screen::Title, 10s);
        // The pointer comes over the title from its resting place in the last pixel.
        s.display().moveTo(s.probe());
        const auto deadline = driver::Clock::now() + 10s;
        while (game.output().find("set_cursor(") == std::string::npos) {
            ASSERT_LT(driver::Clock::now(), deadline) << "the game gave the pointer no image";
            std::this_thread::sleep_for(50ms);
        }
        const std::vector<int> sizes = pointerSizes(game.output());
        const bool desktops = std::find(sizes.begin(), sizes.end(), kDesktopSize) != sizes.end();
        EXPECT_EQ(desktops, portal) << "pointer images of " << ::testing::PrintToString(sizes) << " pixels";
        EXPECT_FALSE(sizes.empty());
    }
}

}  // namespace
}  // namespace e2e
