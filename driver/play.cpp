// Own
#include "play.h"
#include "quiz/title_rules.h"
#include "screens/question_layout.h"
#include "screens/title_layout.h"

namespace driver {
namespace {

class NoScreens : public quiz::ScreenSwitcher {
public:
    void show(quiz::Screen) override {}
    void hide(quiz::Screen) override {}
    void endProgram() override {}
};

bool shows(const QImage &image, QColor colour)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour.rgb())
                return true;
    return false;
}

}  // namespace

Clock::time_point revealOptions(Session &session, std::chrono::milliseconds timeout)
{
    const QRect firstOption = session.placeOf(screens::question::kOptions[0].geometry);
    session.waitUntilStill(100ms);
    const QImage before = session.display().grab(firstOption);
    session.click(screens::question::kShowOptions.control.geometry);
    const auto seen = session.display().waitUntil([&] { return session.display().grab(firstOption) != before; },
                                                  timeout);
    if (seen == Clock::time_point{})
        session.fail("the options did not show after a click on \"Click me to see Options\"");
    return seen;
}

QColor pressColourAfterFirstTick()
{
    NoScreens nowhere;
    quiz::TitleRules rules(nowhere);
    rules.load();
    rules.timerFired(0);
    return screens::toQColor(rules.controls().press.text);
}

QImage shootTitleAfterFirstTick(Session &session)
{
    const QRect press = session.placeOf(screens::title::kPress.geometry);
    const QColor colour = pressColourAfterFirstTick();
    // The beat goes on: a shot that a later tick has overtaken waits for the colour's next turn.
    for (int attempt = 0; attempt < 4; ++attempt) {
        if (session.display().waitUntil([&] { return shows(session.display().grab(press), colour); }, 5s) ==
            Clock::time_point{})
            break;
        session.waitUntilStill(100ms);
        QImage shot = session.shot();
        if (shows(shot.copy(press), colour))
            return shot;
    }
    session.fail("the title's first prompt never showed in " + colour.name().toStdString());
}

}  // namespace driver
