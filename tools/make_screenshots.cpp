// Makes the README's screenshots of the three screens under a display of its own: title.png,
// question.png and farewell.png in the output folder, each cropped to the screens' controls.
// Usage: tarvelo_screenshots GAME OUTPUT_FOLDER   (`make screenshots` writes them into doc/)

// Own
#include "driver/application.h"
#include "driver/play.h"
#include "driver/session.h"
#include "screens/question_layout.h"

// Standard
#include <iostream>
#include <string>

namespace {

using namespace std::chrono_literals;
using driver::Screen;

// From the screen's corner to the far edges of every control, with the margin the controls leave
// at the left beyond them too: the same frame for all three screens.
QRect frame()
{
    const QRect controls = driver::controlsArea();
    return QRect(0, 0, controls.right() + 1 + controls.left(), controls.bottom() + 1 + controls.left());
}

void keep(const QImage &shot, const std::string &folder, const std::string &name)
{
    const std::string path = folder + "/" + name;
    if (!shot.copy(frame()).save(QString::fromStdString(path)))
        throw std::runtime_error("cannot write " + path);
    std::cout << "wrote " << path << std::endl;
}

}  // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::cerr << "usage: " << argv[0] << " GAME OUTPUT_FOLDER\n";
        return 2;
    }
    driver::Application application(argc, argv);
    try {
        driver::Session session({.name = "screenshots"});
        driver::Process &game = session.launch({argv[1]});
        session.waitForScreen(Screen::Title, 10s);
        // The first prompt in the colour of its first change, as a player sees it for a moment.
        keep(driver::shootTitleAfterFirstTick(session), argv[2], "title.png");
        session.key("Return");
        session.waitForScreen(Screen::Question, 5s);
        driver::revealOptions(session);
        session.waitUntilStill();
        keep(session.shot(), argv[2], "question.png");
        session.click(screens::question::kQuit.control.geometry);
        session.waitForScreen(Screen::Farewell, 10s);
        session.waitUntilStill();
        keep(session.shot(), argv[2], "farewell.png");
        session.key("q");
        if (game.waitExit(5s) != 0)
            session.fail("the game did not end cleanly");
    } catch (const std::exception &e) {
        std::cerr << "no screenshots: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
