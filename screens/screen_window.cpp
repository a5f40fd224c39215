// Own
#include "screen_window.h"
#include "frame_memory.h"
#include "platform.h"
#include "title_layout.h"

// Qt
#include <QBackingStore>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <QWindow>

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

void ScreenWindow::placeMaximized()
{
    setWindowState(windowState() | Qt::WindowMaximized);
    followScreen(screen());
}

void ScreenWindow::showMaximizedOnScreen()
{
    makeNativeWindow();
    takeFrameMemory(*this);
    show();
    // From now on the window may move to another screen (one added or replaced when the display
    // changes), whose area it then follows instead.
    if (const QWindow *window = windowHandle())
        connect(window, &QWindow::screenChanged, this, &ScreenWindow::followScreen, Qt::UniqueConnection);
    raise();
    activateWindow();
}

void ScreenWindow::makeNativeWindow()
{
    // The native window is made at the size and in the state it will be shown in, so that showing it
    // changes neither.
    placeMaximized();
    winId();
}

void ScreenWindow::prepare()
{
    if (isVisible())
        return;
    makeNativeWindow();
    // The screen is drawn once into a single pixel, so that its pictures are decoded and scaled and
    // its faces loaded and their glyphs rendered; a frame of the screen's size would be held for as
    // long as the title shows.
    QImage pixel(1, 1, QImage::Format_RGB32);
    QPainter painter(&pixel);
    render(&painter, QPoint(), QRegion(childrenRect()));
}

void ScreenWindow::prepareFrame()
{
    if (isVisible())
        return;
    makeNativeWindow();
    // The frame is drawn now, pictures and faces with it, and held: the first paint after showing
    // would otherwise take its memory and draw it while the player waits.
    QBackingStore *store = backingStore();
    if (store == nullptr)
        return;
    store->resize(size());
    takeFrameMemory(*this);
    const QRegion whole(rect());
    store->beginPaint(whole);
    if (QPaintDevice *device = store->paintDevice()) {
        QPainter painter(device);
        painter.fillRect(rect(), palette().window());
        render(&painter, QPoint(), QRegion(childrenRect()));
    }
    store->endPaint();
}

void ScreenWindow::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    // Told once the paint has gone out: the frame is flushed to the display right after this.
    if (!m_painted && isVisible()) {
        m_painted = true;
        QTimer::singleShot(0, this, &ScreenWindow::firstFrameShown);
    }
}

void ScreenWindow::followScreen(QScreen *target)
{
    disconnect(m_areaFollowed);
    if (target == nullptr)
        return;
    // A signal from the platform when the display changes, not a timer: an idle screen stays idle.
    m_areaFollowed = connect(target, &QScreen::availableGeometryChanged, this, &ScreenWindow::fitArea);
    fitArea(target->availableGeometry());
}

void ScreenWindow::fitArea(const QRect &area)
{
    // A window the player has restored to a smaller size keeps it. A framed window has a window
    // manager, which maximizes it to the new area itself; a size asked of it as well would have it
    // restore the window first and maximize it again (Openbox does), a flicker at best. The
    // controls keep their places whatever the size, since only the window follows the area.
    if (!(windowState() & Qt::WindowMaximized) || frameGeometry() != geometry())
        return;
    setGeometry(area);
    // Qt takes a geometry set from code for the end of the maximized state; the window is still
    // maximized, and must go on following the area.
    setWindowState(windowState() | Qt::WindowMaximized);
}

void ScreenWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    emit resized();
}

void ScreenWindow::closeEvent(QCloseEvent *event)
{
    // Closing any screen from the window manager ends the run, so it never goes on with no screen.
    event->accept();
    m_screens.endProgram();
}

void ScreenWindow::focusInEvent(QFocusEvent *event)
{
    // Qt's own handler repaints the whole window whenever it takes the focus, as it does on every
    // start and every switch back to the game: a second whole frame of the very same pixels.
    event->accept();
}

void ScreenWindow::focusOutEvent(QFocusEvent *event) { event->accept(); }

int ScreenWindow::characterCode(const QKeyEvent &event)
{
    const QString text = event.text();
    return text.isEmpty() ? 0 : text.at(0).unicode();
}

}  // namespace screens
