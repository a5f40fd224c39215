// Own
#include "program_shell.h"
#include "farewell_window.h"
#include "question_window.h"
#include "title_window.h"

// Qt
#include <QCoreApplication>

namespace screens {

ProgramShell::ProgramShell(quiz::RandomSource &random) : m_random(random) {}

ProgramShell::~ProgramShell() = default;

void ProgramShell::start() { show(quiz::Screen::Title); }

ScreenWindow &ProgramShell::window(quiz::Screen screen)
{
    switch (screen) {
    case quiz::Screen::Title:
        if (!m_title)
            m_title = std::make_unique<TitleWindow>(*this);
        return *m_title;
    case quiz::Screen::Question:
        if (!m_question)
            m_question = std::make_unique<QuestionWindow>(m_random, *this);
        return *m_question;
    case quiz::Screen::Farewell:
    default:
        if (!m_farewell)
            m_farewell = std::make_unique<FarewellWindow>(*this);
        return *m_farewell;
    }
}

void ProgramShell::show(quiz::Screen screen)
{
    if (m_ended)
        return;
    ScreenWindow &w = window(screen);
    w.showMaximizedOnScreen();
    // Showing the question screen makes it the active window; the game must not wait for the
    // window manager to say so, and there may be none.
    if (screen == quiz::Screen::Question)
        m_question->activated();
}

void ProgramShell::hide(quiz::Screen screen)
{
    if (m_ended)
        return;
    window(screen).hide();
}

void ProgramShell::endProgram()
{
    // Nothing may run after the end: every screen's timers stop and every screen goes.
    m_ended = true;
    for (ScreenWindow *w : {static_cast<ScreenWindow *>(m_title.get()), static_cast<ScreenWindow *>(m_question.get()),
                            static_cast<ScreenWindow *>(m_farewell.get())}) {
        if (w == nullptr)
            continue;
        w->stopTimers();
        w->hide();
    }
    QCoreApplication::exit(0);
}

}  // namespace screens
