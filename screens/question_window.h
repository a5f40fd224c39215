// The question screen: builds its controls from the layout table, forwards what the player does
// to the game and draws the game's state.
#pragma once

// Own
#include "screen_window.h"
#include "quiz/question_game.h"
#include "quiz/spoken.h"

// Qt
#include <QTimer>

// Standard
#include <array>
#include <string>

class QCheckBox;
class QLabel;
class QPushButton;

namespace screens {

class PictureBox;
class SpokenLine;

class QuestionWindow : public ScreenWindow {
    Q_OBJECT
public:
    QuestionWindow(quiz::RandomSource &random, quiz::ScreenSwitcher &screens);

    const quiz::QuestionGame &game() const { return m_game; }
    // The screen became the program's active window; the first time, the game starts.
    void activated();

    // Lets tests run the end-of-game wait on their own clock.
    QTimer &endTimer() { return m_endTimer; }
    void stopTimers() override
    {
        m_endTimer.stop();
        m_wakeBeforeEnd.stop();
    }

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildControls();
    void wireControls();
    void render();
    quiz::Control focusedControl() const;
    QWidget *widgetOf(quiz::Control control) const;   // nullptr for None

    static constexpr int kLastSleepMs = 100;

    quiz::QuestionGame m_game;
    QTimer m_endTimer;
    QTimer m_wakeBeforeEnd;   // nothing to do but wake the loop, kLastSleepMs before m_endTimer

    std::array<QCheckBox *, quiz::kOptionCount> m_boxes{};
    std::array<QLabel *, quiz::kOptionCount> m_options{};
    QPushButton *m_showOptions = nullptr;
    QPushButton *m_quit = nullptr;
    QPushButton *m_lifeline = nullptr;
    QPushButton *m_next = nullptr;
    QLabel *m_lifelineUsed = nullptr;
    QLabel *m_question = nullptr;
    QLabel *m_number = nullptr;
    QLabel *m_message = nullptr;
    PictureBox *m_optionFrames = nullptr;
    PictureBox *m_questionFrame = nullptr;
    PictureBox *m_happyFace = nullptr;
    PictureBox *m_sadFace = nullptr;
    std::array<QWidget *, quiz::kTabOrder.size()> m_tabOrder{};   // in the order of quiz::kTabOrder
    SpokenLine *m_announcer = nullptr;
    quiz::QuestionControls m_rendered;   // what the last render drew: what an event changed is told from it
    bool m_drawn = false;                // m_rendered holds what the labels show, not a default
};

}  // namespace screens
