// The program-wide owner of the three screens: each is created on first use, at most once a run,
// and kept to the end.
#pragma once

// Own
#include "system_random.h"
#include "quiz/screen_switcher.h"

// Qt
#include <QSize>

// Standard
#include <functional>
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
    // Work done a moment after a screen's first frame has gone out, unless the run has ended by then.
    void afterFirstFrame(ScreenWindow &shown, std::function<void()> work);
    // The farewell comes over the finished question screen, which stays open beneath it. A tiling
    // compositor puts the two side by side instead, and the farewell's last lines fall outside its
    // half: then the question screen goes, and the farewell gets the whole area.
    void watchFarewellPlace();
    void uncoverFarewell();

    quiz::RandomSource &m_random;
    std::unique_ptr<TitleWindow> m_title;
    std::unique_ptr<QuestionWindow> m_question;
    std::unique_ptr<FarewellWindow> m_farewell;
    QSize m_questionSizeBeforeFarewell;   // empty until the farewell comes over a shown question screen
    bool m_ended = false;
};

}  // namespace screens
