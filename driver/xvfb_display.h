// An Xvfb of the driver's own, on a display number it picks itself, and one client connection to
// it: pixels read back with one request per area, keys and clicks sent through XTest, changes on
// the screen reported by the Damage extension, windows closed as a window manager closes them.
#pragma once

// Own
#include "display.h"
#include "process.h"

// Standard
#include <memory>

namespace driver {

class XvfbDisplay : public Display {
public:
    struct Options {
        // The largest size resize() may give the display; empty, it keeps its first size. Xvfb
        // takes its framebuffer once, at start: it starts at this size and is then brought down
        // to its first one through RandR, as a monitor's mode is changed.
        QSize largest;
        int depth = 24;   // bits a pixel of the screen; 8 gives a PseudoColor screen
        // The server accepts only clients that show the cookie it was started with (-auth), which
        // clientEnvironment() names in XAUTHORITY; without, it accepts every local client.
        bool authorization = false;
        // The keyboard's layout by its XKB name ("fr"); empty, the server's own default (us). Xvfb
        // takes no layout on its command line and applies none that setxkbmap asks for later, so
        // it starts from XKB data in which its default layout is this one; the root window's XKB
        // names say this layout, as setxkbmap -query and a nested compositor read them.
        std::string keyboardLayout{};
    };

    // Throws std::runtime_error when Xvfb does not come up. dpiScale 2 gives the display the X
    // resource Xft.dpi 192, as a desktop at twice the scale does; its log goes into folder.
    XvfbDisplay(QSize size, int dpiScale, const std::string &folder);
    XvfbDisplay(QSize size, int dpiScale, const std::string &folder, const Options &options);
    XvfbDisplay(const XvfbDisplay &) = delete;
    XvfbDisplay &operator=(const XvfbDisplay &) = delete;
    ~XvfbDisplay() override;

    std::vector<std::string> clientEnvironment() const override;
    QSize size() const override { return m_size; }
    QImage grab(const QRect &area) override;
    bool key(const std::string &keysymName) override;
    void moveTo(QPoint at) override;
    void button(int button, bool down) override;
    bool resize(QSize size) override;
    bool waitForWindowManager(std::chrono::milliseconds timeout) override;
    std::vector<WindowInfo> windowsOf(pid_t pid) override;
    bool requestClose(unsigned long window) override;
    Clock::time_point waitUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout,
                                std::chrono::milliseconds pollInterval) override;
    bool waitForQuiet(std::chrono::milliseconds quiet, std::chrono::milliseconds timeout) override;

    // The X keysym's name ("ampersand") on a keycode at a shift level (0 plain, 1 with Shift);
    // empty where there is none.
    std::string keysymOn(unsigned keycode, int level);
    // The layout the root window's XKB names give the keyboard ("us", "fr").
    std::string layoutName();

    // Ends the X server at once, as a crash would (SIGKILL), after closing the driver's own
    // connection. Only clientEnvironment() and size() are of use afterwards; grab() throws.
    void killServer();

private:
    void startServer(const std::string &logFile);
    void openClient();
    void setResources(const std::string &resources);
    // Gives the keyboard's layout in the root window's XKB names, keeping the other four names.
    void nameLayout(const std::string &layout);
    // The root window's XKB names, as many as the server keeps.
    std::vector<std::string> rulesNames();
    // Whether a window manager has named itself on the root window, as EWMH asks.
    bool windowManagerNamed();
    // The windows of the process among the children of `window` and their own, `depth` levels
    // down, looking into a window manager's frames, which belong to no process; appended to found.
    void collectWindowsOf(pid_t pid, unsigned long window, int depth, std::vector<WindowInfo> &found);
    // Drains the events the server has sent; true when one of them reported a change on the screen.
    bool takeDamage();
    void stop();

    std::unique_ptr<Process> m_server;
    std::string m_name;          // ":N"
    QSize m_size;
    void *m_display = nullptr;   // Display *; Xlib's macros stay in the .cpp
    unsigned long m_root = 0;
    int m_damageEvent = 0;
    unsigned long m_damage = 0;
    double m_millimetresPerPixel = 25.4 / 96;   // kept through resizes: a monitor keeps its dpi
    Options m_options;
    std::string m_authorityFile;   // the cookie, for the server and its clients; empty without authorization
    std::string m_cookie;
    std::string m_xkbFolder;   // the XKB data the server starts from; empty for the system's
};

}  // namespace driver
