// Own
#include "program_shell.h"
#include "farewell_window.h"
#include "question_window.h"
#include "title_window.h"

// Qt
#include <QCoreApplication>
#include <QTimer>

namespace screens {
namespace {

// Long enough for the display server to have drawn the title's first frame, short beside the time
// a player takes to read the title and press a key.
constexpr std::chrono::milliseconds kPrepareAfterFirstFrame{250};

// Two windows that together fit into what one of them had, side by side or one above the other,
// were laid out beside each other by a tiling compositor. A stacking desktop maximizes each to the
// whole area, and a window the player restores there leaves the other as it was.
bool sharedOut(QSize first, QSize second, QSize whole)
{
    return first.width() + second.width() <= whole.width() || first.height() + second.height() <= whole.height();
}

}  // namespace

ProgramShell::ProgramShell(quiz::RandomSource &random) : m_random(random) {}

ProgramShell::~ProgramShell() = default;

void ProgramShell::start() { show(quiz::Screen::Title); }

ScreenWindow &ProgramShell::window(quiz::Screen screen)
{
    switch (screen) {
    case quiz::Screen::Title:
        if (!m_title) {
            m_title = std::make_unique<TitleWindow>(*this);
            // While the player reads the title, the screens that follow are made ready to show, all
            // but their frames: a frame drawn ahead is a screenful of memory held as long as the
            // title shows. Not at once: the display server is still putting the title's first frame
            // on the screen, and work beside it would hold that frame back.
            afterFirstFrame(*m_title, [this] {
                window(quiz::Screen::Question).prepare();
                window(quiz::Screen::Farewell).prepare();
            });
        }
        return *m_title;
    case quiz::Screen::Question:
        if (!m_question) {
            m_question = std::make_unique<QuestionWindow>(m_random, *this);
            // The farewell comes at once when a game ends: its frame is drawn while questions show.
            afterFirstFrame(*m_question, [this] { window(quiz::Screen::Farewell).prepareFrame(); });
        }
        return *m_question;
    case quiz::Screen::Farewell:
    default:
        if (!m_farewell)
            m_farewell = std::make_unique<FarewellWindow>(*this);
        return *m_farewell;
    }
}

void ProgramShell::afterFirstFrame(ScreenWindow &shown, std::function<void()> work)
{
    QObject::connect(&shown, &ScreenWindow::firstFrameShown, &shown, [this, &shown, work = std::move(work)] {
        QTimer::singleShot(kPrepareAfterFirstFrame, &shown, [this, work] {
            if (!m_ended)
                work();
        });
    });
}

void ProgramShell::show(quiz::Screen screen)
{
    if (m_ended)
        return;
    ScreenWindow &w = window(screen);
    if (screen == quiz::Screen::Farewell)
        watchFarewellPlace();
    w.showMaximizedOnScreen();
    // Showing the question screen makes it the active window; the game must not wait for the
    // window manager to say so, and there may be none.
    if (screen == quiz::Screen::Question)
        m_question->activated();
}

void ProgramShell::watchFarewellPlace()
{
    if (!m_question || !m_question->isVisible() || m_questionSizeBeforeFarewell.isValid())
        return;
    m_questionSizeBeforeFarewell = m_question->size();
    // The compositor sizes both windows, in either order, and the farewell waits for neither.
    QObject::connect(m_farewell.get(), &ScreenWindow::resized, m_farewell.get(), [this] { uncoverFarewell(); });
    QObject::connect(m_question.get(), &ScreenWindow::resized, m_farewell.get(), [this] { uncoverFarewell(); });
}

void ProgramShell::uncoverFarewell()
{
    // Where the farewell lies over the question screen, nothing changes: on a stacking desktop the
    // question screen stays open beneath it, in the panel too.
    if (m_ended || !m_farewell->isVisible() || !m_question->isVisible() ||
        !sharedOut(m_farewell->size(), m_question->size(), m_questionSizeBeforeFarewell))
        return;
    m_question->hide();
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
