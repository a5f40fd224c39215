// The program-wide owner of the three screens: each is created on first use, at most once a run,
// and kept to the end.
#pragma once

// Own
#include "system_random.h"
#include "quiz/screen_switcher.h"

// Standard
#include <memory>

namespace screens {

class FarewellWindow;
class QuestionWindow;
class ScreenWindow;
class TitleWindow;

class ProgramShell : public quiz::ScreenSwitcher {
public:
    explicit ProgramShell(quiz::RandomSource &random);
    ~ProgramShell() override;

    // Creates the title screen, whose load builds the question screen hidden, then shows it.
    void start();

    void show(quiz::Screen screen) override;
    void hide(quiz::Screen screen) override;
    void endProgram() override;

    bool ended() const { return m_ended; }
    TitleWindow *title() const { return m_title.get(); }
    QuestionWindow *question() const { return m_question.get(); }
    FarewellWindow *farewell() const { return m_farewell.get(); }

private:
    ScreenWindow &window(quiz::Screen screen);   // creates it on first use

    quiz::RandomSource &m_random;
    std::unique_ptr<TitleWindow> m_title;
    std::unique_ptr<QuestionWindow> m_question;
    std::unique_ptr<FarewellWindow> m_farewell;
    bool m_ended = false;
};

}  // namespace screens
