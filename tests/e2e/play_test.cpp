// A player's whole game, and the title screen's keys, under a real X server.

// Own
#include "e2e.h"
#include "screens/question_layout.h"
#include "screens/title_layout.h"

// Standard
#include <iostream>
#include <thread>
#include <unistd.h>

namespace e2e {
namespace {

using driver::Screen;
namespace question = screens::question;
namespace title = screens::title;

using Play = E2e;
using Title = E2e;

// Title screen, a key, the question screen, its options, Quit, the farewell screen about six
// seconds later and not at once, a key, and the game ends with status 0.
TEST_F(Play, QuitBringsTheFarewellAboutSixSecondsLaterAndAKeyThereEndsTheGame)
{
    driver::Session &s = session();
    driver::Process &game = s.launch({gamePath()});
    s.waitForScreen(Screen::Title, 10s);
    s.key("a");
    s.waitForScreen(Screen::Question, 5s);
    driver::revealOptions(s);

    s.click(question::kQuit.control.geometry);
    const auto quitAt = driver::Clock::now();
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(s.screenShown(), Screen::Question) << "the farewell screen came before its time";
    const double delay = seconds(s.waitForScreen(Screen::Farewell, 10s) - quitAt);
    std::cout << "farewell screen shown " << delay << " s after Quit" << std::endl;
    EXPECT_GE(delay, 5.9);
    EXPECT_LE(delay, 7.5);

    s.key("space");
    EXPECT_EQ(game.waitExit(5s), 0);
}

// Esc on the title screen ends the game at once, with status 0; Shift, an arrow and F1 before it,
// keys that type no character, do nothing.
TEST_F(Title, KeysWithoutACharacterDoNothingAndEscEndsTheGame)
{
    driver::Session &s = session();
    driver::Process &game = s.launch({gamePath()});
    s.waitForScreen(Screen::Title, 10s);
    for (const char *key : {"Shift_L", "Left", "F1"})
        ASSERT_TRUE(s.key(key)) << key;
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(game.running()) << "a key without a character ended the game";
    EXPECT_EQ(s.screenShown(), Screen::Title) << "a key without a character left the title screen";

    const auto pressed = driver::Clock::now();
    s.key("Escape");
    EXPECT_EQ(game.waitExit(2s), 0);
    std::cout << "ended " << seconds(driver::Clock::now() - pressed) << " s after Esc" << std::endl;
}

// Started by a desktop launcher, with a startup-notification token in its environment, the game
// reads its fonts after the display is open rather than beside it: the title's static text must
// look the same either way, and Esc must still end the game with status 0.
TEST_F(Title, StartedByALauncherItsTextLooksTheSame)
{
    const auto staticText = [this](const std::vector<std::string> &environment) {
        driver::Session &s = session();
        driver::Process &game = s.launch({gamePath()}, environment);
        s.waitForScreen(Screen::Title, 10s);
        s.waitUntilStill();
        const QImage shot = s.shot();
        std::vector<QImage> labels;
        for (const title::StaticLabel &label : title::kStaticLabels)
            labels.push_back(shot.copy(s.placeOf(label.geometry)));
        s.key("Escape");
        EXPECT_EQ(game.waitExit(5s), 0) << "Esc did not end the game started "
                                        << (environment.empty() ? "plainly" : "by a launcher");
        return labels;
    };
    const std::vector<QImage> plain = staticText({});
    const std::vector<QImage> launched =
        staticText({"DESKTOP_STARTUP_ID=launcher-" + std::to_string(getpid()) + "_TIME0"});

    for (std::size_t i = 0; i < plain.size(); ++i) {
        EXPECT_GT(driver::colourCount(plain[i]), 1) << title::kStaticLabels[i].name << " shows no text";
        EXPECT_EQ(driver::differingPixels(plain[i], launched[i]), 0)
            << title::kStaticLabels[i].name << " differs when the game is started by a launcher";
    }
    const int colours = driver::colourCount(plain);
    EXPECT_GT(colours, 20) << "the title's text is missing: only " << colours << " colours in it";
}

}  // namespace
}  // namespace e2e
