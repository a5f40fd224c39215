// One run of the game and everything around it, composed in one place: a folder for logs and
// screenshots, a display server of its own, a private XDG_RUNTIME_DIR, a home of its own (HOME and
// the XDG folders, GSettings' database among them), and the game's environment made of them. This is where the kind of display is chosen (Xvfb, or a headless weston or sway for
// the game on Wayland) and where a screen reader's session bus (dbus-run-session, with AT-SPI) would
// add its address to the game's environment.
#pragma once

// Own
#include "display.h"
#include "layout.h"
#include "process.h"

// Standard
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace driver {

// What a driver throws when the game does not do what it waits for; the session's folder is kept.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The programs running with XDG_RUNTIME_DIR=runtime in their environment: those started in the
// session of that runtime folder, by the driver or by one of its programs. The driver is not one.
std::vector<pid_t> programsOnRuntime(const std::string &runtime);

class Session {
public:
    struct Options {
        QSize display{1024, 768};
        int dpiScale = 1;      // 2: the display asks its programs for twice the scale (Xft.dpi 192)
        int scaleFactor = 1;   // 2: the game is started with QT_SCALE_FACTOR=2
        std::string name = "e2e";   // part of the folder's name
        // A session bus at its standard place, XDG_RUNTIME_DIR/bus, as a desktop login gives one.
        // The game is not told its address: it must find the bus there by itself.
        bool sessionBus = false;
        // With the session bus, the desktop's accessibility bus running from the start, as a Wayland
        // login starts it: the bus is there, assistive technology is off, and the X root window does
        // not name the bus, so that a program joins it only when the bus's status asks for it.
        bool accessibilityBus = false;
        // A headless weston in place of Xvfb, the game on Qt's Wayland platform. It takes no keys
        // and no clicks (see WestonDisplay), and no dpiScale: that is an X resource.
        bool wayland = false;
        // A headless sway in place of Xvfb: a tiling Wayland compositor, which lays a new window
        // beside the others. It takes keys but no clicks (see SwayDisplay), and no dpiScale. When
        // the driver is root, the game runs as the user sway runs as.
        bool tiling = false;
        // With wayland: weston runs in an Xvfb of its own instead, which gives it keys and clicks.
        bool waylandInput = false;
        // The keyboard's XKB layout ("fr"), on the Xvfb or on weston with input; empty, us.
        std::string keyboardLayout{};
        // The largest size resizeDisplay() may give the display; empty, it keeps its first size.
        QSize largestDisplay{};
        // A window manager (Openbox, EWMH, with its own default settings) runs before the game.
        bool windowManager = false;
        int depth = 24;               // bits a pixel of the display; 8 gives a PseudoColor display
        // The display accepts only programs that show its cookie; the environment() names it in
        // XAUTHORITY, and a program given another XAUTHORITY is refused.
        bool authorization = false;
    };

    explicit Session(const Options &options);
    Session() : Session(Options{}) {}
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;
    // Ends the programs still running, then any program they left behind (see endLeftovers()),
    // and the display. The folder goes too, unless keep() was called or an exception is on its way
    // out: then the last screen is saved into it.
    ~Session();

    Display &display() { return *m_display; }
    // "unix:path=..." of the session bus, for the programs that are told it (a screen reader);
    // empty without one.
    const std::string &busAddress() const { return m_busAddress; }
    const std::string &folder() const { return m_folder; }
    // The session's XDG_RUNTIME_DIR, inside its folder.
    const std::string &runtimeFolder() const { return m_runtime; }
    // The session's HOME, inside its folder: every program of the session keeps its settings and
    // caches there, the services its bus starts on demand among them, and none in the account.
    const std::string &homeFolder() const { return m_home; }
    void keep() { m_keep = true; }
    // Sets a property of the accessibility bus's status (IsEnabled, ScreenReaderEnabled), as a
    // desktop's accessibility settings do; needs Options::accessibilityBus.
    void setAccessibilityStatus(const std::string &property, bool on);
    // Whether a program owns `name` on the session bus (org.a11y.Bus: the accessibility bus runs).
    bool busNameOwned(const std::string &name);
    // Whether the program is connected to the session bus; false without one.
    bool onSessionBus(pid_t program);

    // The environment of a program on this display: the caller's (with clean, only its PATH), the
    // session's home, the display's variables, XDG_RUNTIME_DIR, the scale factor and the bus left
    // unnamed, then `extra`,
    // whose variables replace any of those (a screen reader is told the session bus this way).
    std::vector<std::string> environment(const std::vector<std::string> &extra = {}, bool clean = false) const;
    // Starts a program in that environment, its output in FOLDER/NAME.log; it lives as long as the session.
    Process &launch(const std::vector<std::string> &argv, const std::vector<std::string> &extra = {},
                    bool clean = false, const std::string &name = "game");

    // Display pixels per pixel of the game's layout.
    int scale() const { return m_scale; }
    QRect placeOf(const screens::Geometry &control) const { return driver::placeOf(control, m_scale); }
    QPoint centreOf(const screens::Geometry &control) const { return driver::centreOf(control, m_scale); }
    QPoint probe() const { return m_probe; }
    // Gives the display a new size within Options::largestDisplay, as a monitor's new mode does,
    // and moves the probe point with it. Throws Failure when the display does not take it.
    void resizeDisplay(QSize size);

    // The screen whose background shows at the probe point, if any.
    std::optional<Screen> screenShown();
    // Waits for the screen; returns when it was seen. Throws Failure with what shows instead.
    Clock::time_point waitForScreen(Screen screen, std::chrono::milliseconds timeout);
    // Waits until the display has drawn nothing for a moment: a screen that has just come up or
    // changed is finished. Throws Failure when it never falls still.
    void waitUntilStill(std::chrono::milliseconds quiet = 200ms, std::chrono::milliseconds timeout = 5s);
    void click(const screens::Geometry &control) { m_display->click(centreOf(control)); }
    bool key(const std::string &keysymName) { return m_display->key(keysymName); }
    // The whole display; also written as FOLDER/NAME.png when named.
    QImage shot(const std::string &name = {});

    // Throws Failure with the why, the game's output and the folder's name.
    [[noreturn]] void fail(const std::string &why);

private:
    void startSessionBus(const std::string &runtime);
    void startAccessibilityBus();
    // What dbus-send printed for a call on the session bus: path, interface.method, arguments.
    std::string askSessionBus(const std::vector<std::string> &call, const std::string &destination);
    // Programs no child of the driver: those the session bus started on demand (the accessibility
    // bus and its registry) and those a program left running behind it. They are given a moment to
    // leave by themselves, then asked to end, then killed.
    void endLeftovers();
    void startWindowManager();

    std::string m_folder;
    std::string m_runtime;
    std::string m_home;
    std::unique_ptr<Display> m_display;
    std::vector<std::unique_ptr<Process>> m_processes;
    std::vector<std::string> m_environment;
    std::string m_busAddress;
    int m_scale = 1;
    QPoint m_probe;
    bool m_keep = false;
    int m_uncaught = 0;
};

}  // namespace driver
