// What the driver needs of a display server: what it shows, input as a player gives it, the
// windows of a program, and the variables that send a program to it. Three kinds, chosen in Session:
// XvfbDisplay, which does all of it, and two Wayland compositors that show what the game draws but
// hand out no windows (those calls throw there): WestonDisplay, which takes no input when headless
// and keys when nested in an Xvfb, and SwayDisplay, a tiling one, which takes keys.
#pragma once

// Qt
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

// Standard
#include <chrono>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace driver {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

struct WindowInfo {
    unsigned long id = 0;
    QRect geometry;
    bool viewable = false;
};

class Display {
public:
    virtual ~Display() = default;

    // The variables a program needs to draw on this display, e.g. DISPLAY and QT_QPA_PLATFORM, as
    // composeEnvironment() takes them: a name without '=' is a variable the program must not have.
    virtual std::vector<std::string> clientEnvironment() const = 0;
    // The command line that runs argv as a program of this display: argv itself, except on a
    // display whose programs run as a user of its own.
    virtual std::vector<std::string> clientCommand(const std::vector<std::string> &argv) { return argv; }
    virtual QSize size() const = 0;

    // An area of the screen as the display shows it, read in one request.
    virtual QImage grab(const QRect &area) = 0;
    QImage grab() { return grab(QRect(QPoint(0, 0), size())); }
    QColor pixel(QPoint at) { return grab(QRect(at, QSize(1, 1))).pixelColor(0, 0); }

    // Keys by X keysym name ("a", "exclam", "Return", "F5" ...), with Shift held when the symbol
    // sits on the shifted level of its key. False when the keyboard has no key for it.
    virtual bool key(const std::string &keysymName) = 0;
    virtual void moveTo(QPoint at) = 0;
    virtual void button(int button, bool down) = 0;   // 1 left, 2 middle, 3 right, 4 and 5 the wheel
    void click(QPoint at, int button = 1)
    {
        moveTo(at);
        this->button(button, true);
        this->button(button, false);
    }

    // Gives the display a new size, as a monitor's new mode does; its programs hear of it as of
    // any such change. False, and the size unchanged, where the display cannot take that size.
    virtual bool resize(QSize size) { return size == this->size(); }
    // Waits until a window manager started on the display manages windows; false when none did.
    virtual bool waitForWindowManager(std::chrono::milliseconds /*timeout*/) { return false; }

    // Top-level windows that say they belong to the process, mapped or not, with their places on
    // the display (inside a window manager's frame where there is one).
    virtual std::vector<WindowInfo> windowsOf(pid_t pid) = 0;
    // Asks a window to close, as a window manager's close button does.
    virtual bool requestClose(unsigned long window) = 0;

    // Waits until done() holds, checking after every change the display reports and at least every
    // pollInterval. Returns the time of the check that saw it; Clock::time_point{} on timeout.
    virtual Clock::time_point waitUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout,
                                        std::chrono::milliseconds pollInterval = 5ms) = 0;
    // Waits until the display has drawn nothing for `quiet`; false when it never fell quiet in time.
    virtual bool waitForQuiet(std::chrono::milliseconds quiet, std::chrono::milliseconds timeout) = 0;
};

}  // namespace driver
