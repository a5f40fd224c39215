// The title screen: the prompts change colour under four timers until a character key is pressed.
#pragma once

// Own
#include "screen_window.h"
#include "quiz/title_rules.h"

// Qt
#include <QTimer>

// Standard
#include <array>

class QLabel;

namespace screens {

class TitleWindow : public ScreenWindow {
    Q_OBJECT
public:
    explicit TitleWindow(quiz::ScreenSwitcher &screens);

    const quiz::TitleRules &rules() const { return m_rules; }
    std::array<QTimer, quiz::kTitleTimerCount> &timers() { return m_timers; }

    void stopTimers() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void render();

    quiz::TitleRules m_rules;
    std::array<QTimer, quiz::kTitleTimerCount> m_timers;
    QLabel *m_name = nullptr;
    QLabel *m_credit = nullptr;   // lblDesc, which the name follows
    QLabel *m_press = nullptr;
    QLabel *m_abort = nullptr;
};

}  // namespace screens
