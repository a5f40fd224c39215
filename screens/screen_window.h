// What the three screens share: a top-level window opened maximized, in one colour, whose close
// button ends the run like the program's own ways out.
#pragma once

// Own
#include "quiz/controls.h"
#include "quiz/screen_switcher.h"

// Qt
#include <QMetaObject>
#include <QWidget>

class QScreen;

namespace screens {

class ScreenWindow : public QWidget {
    Q_OBJECT
public:
    ScreenWindow(quiz::ScreenSwitcher &screens, quiz::Colour background);

    // Fills the available area of its screen even with no window manager to maximize it, and
    // keeps filling it as that area grows or shrinks (the display resized, a panel added).
    void showMaximizedOnScreen();

    // Builds ahead, hidden, what the screen's first frame needs: its native window, its pictures, and
    // the faces and style drawings of its controls. Showing it then costs little more than the frame.
    void prepare();
    // Makes the native window and draws the frame itself, hidden, so that showing it costs only
    // sending it.
    void prepareFrame();
    // The logical dpi the screen was laid out with.
    double dpi() const { return m_dpi; }

    // The run has ended: no timer of this screen may fire again.
    virtual void stopTimers() {}

    // A screen that is read out whole when it comes up, as a dialog is to a screen reader: the
    // title and the farewell, which have texts and no controls.
    bool isSpokenAsDialog() const { return m_spokenAsDialog; }

signals:
    // The screen's first frame has been drawn and sent to the display.
    void firstFrameShown();
    // The window manager or the compositor gave the window a new size (or the window took one of
    // its own accord, with no window manager).
    void resized();

protected:
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // A screen shows nothing of its own focus: only its controls draw theirs.
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    quiz::ScreenSwitcher &screens() { return m_screens; }
    // The character a key event carries, or 0 for keys that carry none (Shift, arrows, F1 ...).
    static int characterCode(const QKeyEvent &event);
    void setSpokenAsDialog() { m_spokenAsDialog = true; }

private:
    // Follows the available area of the screen the window is on: a maximized window takes each new
    // area, since with no window manager nothing else resizes it.
    void followScreen(QScreen *target);
    void placeMaximized();
    // Makes the native window, maximized, if it is not there yet.
    void makeNativeWindow();
    void fitArea(const QRect &area);

    quiz::ScreenSwitcher &m_screens;
    QMetaObject::Connection m_areaFollowed;
    double m_dpi;
    bool m_spokenAsDialog = false;
    bool m_painted = false;
};

}  // namespace screens
