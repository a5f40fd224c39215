// Own
#include "screen_window.h"
#include "platform.h"
#include "title_layout.h"

// Qt
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

namespace screens {

ScreenWindow::ScreenWindow(quiz::ScreenSwitcher &screens, quiz::Colour background)
    : m_screens(screens), m_dpi(kDesignDpi)
{
    if (const QScreen *primary = QGuiApplication::primaryScreen())
        m_dpi = primary->logicalDotsPerInchY();
    setWindowTitle(QString());
    // The title bar stays empty; a screen reader still names the screen after the game.
    setAccessibleName(toQString(title::kGameTitle));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, toQColor(background));
    setPalette(p);
}

void ScreenWindow::showMaximizedOnScreen()
{
    if (const QScreen *target = screen())
        setGeometry(target->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
    show();
    raise();
    activateWindow();
}

void ScreenWindow::closeEvent(QCloseEvent *event)
{
    // Closing any screen from the window manager ends the run, so it never goes on with no screen.
    event->accept();
    m_screens.endProgram();
}

int ScreenWindow::characterCode(const QKeyEvent &event)
{
    const QString text = event.text();
    return text.isEmpty() ? 0 : text.at(0).unicode();
}

}  // namespace screens
