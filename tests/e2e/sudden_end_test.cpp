// Whatever screen shows, the game does not outlive its X server, and SIGTERM ends it at once.

// Own
#include "e2e.h"
#include "driver/xvfb_display.h"
#include "screens/question_layout.h"

// Standard
#include <csignal>
#include <iostream>
#include <sstream>

// Names a screen in a test's name and messages.
namespace driver {
inline void PrintTo(Screen screen, std::ostream *out) { *out << nameOf(screen); }
}  // namespace driver

namespace e2e {
namespace {

using driver::Screen;

// Starts the game and plays on until `screen` shows.
driver::Process &gameShowing(driver::Session &s, Screen screen)
{
    driver::Process &game = s.launch({gamePath()});
    s.waitForScreen(Screen::Title, 10s);
    if (screen != Screen::Title) {
        s.key("Return");
        s.waitForScreen(Screen::Question, 5s);
    }
    if (screen == Screen::Farewell) {
        driver::revealOptions(s);
        s.click(screens::question::kQuit.control.geometry);
        s.waitForScreen(Screen::Farewell, 10s);
    }
    s.waitUntilStill();
    return game;
}

std::vector<std::string> linesOf(const std::string &output)
{
    std::vector<std::string> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class SuddenEnd : public E2e, public ::testing::WithParamInterface<Screen> {};

// Qt notices the broken connection and ends the run with status 1 and its one line.
TEST_P(SuddenEnd, TheXServerDyingEndsTheRunWithinASecondInOneLine)
{
    driver::Session &s = session();
    driver::Process &game = gameShowing(s, GetParam());
    const auto killed = driver::Clock::now();
    dynamic_cast<driver::XvfbDisplay &>(s.display()).killServer();
    const int status = game.waitExit(5s);
    const double after = seconds(driver::Clock::now() - killed);
    std::cout << "ended " << after << " s after the X server, status " << status << std::endl;
    EXPECT_EQ(status, 1);
    EXPECT_LE(after, 1.0);
    const std::vector<std::string> lines = linesOf(game.output());
    ASSERT_EQ(lines.size(), 1u) << game.output();
    EXPECT_NE(lines.front().find("X11 connection broke"), std::string::npos) << lines.front();
}

// The game keeps SIGTERM's default action: nothing of it outlives the run (it writes no files), and
// whoever sent the signal sees the game ended by it, status 128 + 15, without a word from the game.
TEST_P(SuddenEnd, SigtermEndsTheGameAtOnce)
{
    driver::Session &s = session();
    driver::Process &game = gameShowing(s, GetParam());
    const auto sent = driver::Clock::now();
    ASSERT_EQ(::kill(game.pid(), SIGTERM), 0);
    const int status = game.waitExit(5s);
    const double after = seconds(driver::Clock::now() - sent);
    std::cout << "ended " << after << " s after SIGTERM, status " << status << std::endl;
    EXPECT_EQ(status, 128 + SIGTERM);
    EXPECT_LE(after, 0.5);
    EXPECT_EQ(game.output(), "");
}

INSTANTIATE_TEST_SUITE_P(OnEachScreen, SuddenEnd, ::testing::ValuesIn(driver::kScreens),
                         [](const ::testing::TestParamInfo<Screen> &info) { return driver::nameOf(info.param); });

}  // namespace
}  // namespace e2e
