// Own
#include "play.h"
#include "screen_reader.h"
#include "quiz/title_rules.h"
#include "screens/platform.h"
#include "screens/question_layout.h"
#include "screens/title_layout.h"

// Standard
#include <algorithm>
#include <functional>
#include <string_view>

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

Clock::time_point revealOptionsBy(Session &session, const std::function<void()> &press, const std::string &how,
                                  std::chrono::milliseconds timeout)
{
    const QRect firstOption = session.placeOf(screens::question::kOptions[0].geometry);
    session.waitUntilStill(100ms);
    const QImage before = session.display().grab(firstOption);
    press();
    const auto seen = session.display().waitUntil([&] { return session.display().grab(firstOption) != before; },
                                                  timeout);
    if (seen == Clock::time_point{})
        session.fail("the options did not show after " + how);
    return seen;
}

}  // namespace

Clock::time_point revealOptions(Session &session, std::chrono::milliseconds timeout)
{
    return revealOptionsBy(
        session, [&] { session.click(screens::question::kShowOptions.control.geometry); },
        "a click on \"Click me to see Options\"", timeout);
}

Clock::time_point revealOptionsBySpace(Session &session, std::chrono::milliseconds timeout)
{
    return revealOptionsBy(
        session, [&] { session.key("space"); }, "Space on \"Click me to see Options\"", timeout);
}

int answerByKey(Session &session, const std::string &keysymName, std::chrono::milliseconds timeout)
{
    const QRect message = session.placeOf(screens::question::kMessage.geometry);
    session.waitUntilStill(100ms);
    const QImage silent = session.display().grab(message);
    if (!session.key(keysymName))
        session.fail("the keyboard has no key for " + keysymName);
    if (session.display().waitUntil([&] { return session.display().grab(message) != silent; }, timeout) ==
        Clock::time_point{})
        session.fail("no answer was judged after the key " + keysymName);
    session.waitUntilStill(100ms);
    const Judgement judged = readJudgement(session);
    return std::max(judged.wrong != 0 ? judged.wrong : judged.correct, 0);
}

Judgement readJudgement(Session &session)
{
    // A wrong answer's option turns orange and the right one light green; a right answer's option
    // turns light green alone.
    const auto optionIn = [&session](quiz::Colour colour) {
        int found = 0;
        for (std::size_t i = 0; i < screens::question::kOptions.size(); ++i)
            if (shows(session.display().grab(session.placeOf(screens::question::kOptions[i].geometry)),
                      screens::toQColor(colour)))
                found = found == 0 ? static_cast<int>(i) + 1 : -1;
        return found;
    };
    return {optionIn(quiz::colours::kLightGreen), optionIn(quiz::colours::kOrange)};
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

const quiz::BankEntry *questionSaid(const std::string &said, int number)
{
    const std::string lead = "Question " + std::to_string(number) + ": ";
    const std::size_t at = said.find(lead);
    if (at == std::string::npos)
        return nullptr;
    const std::string_view rest = std::string_view(said).substr(at + lead.size());
    const quiz::BankEntry *found = nullptr;
    std::size_t length = 0;
    for (const quiz::BankEntry &entry : quiz::questionBank()) {
        const std::string question = normalisedSpeech(entry.question);
        const bool whole = rest.starts_with(question) && (rest.size() == question.size() || rest[question.size()] == ' ');
        if (whole && question.size() > length) {
            found = &entry;
            length = question.size();
        }
    }
    return found;
}

}  // namespace driver
