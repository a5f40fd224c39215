// A weston of the driver's own, its socket in the session's runtime folder: what a Wayland desktop
// gives the game. It draws with pixman, in one of two ways:
// - headless, into memory. Screenshots come through weston-screenshooter, which weston allows a
//   client only with its debug protocol on. Its headless backend has no input devices at all, so
//   key() throws rather than pretend.
// - with input, in a window that covers an Xvfb of its own (weston's x11 backend). Keys and the
//   pointer go through XTest into that window, and weston hands them to its Wayland clients with
//   the keymap the X server's XKB names give (not its configuration's). Pixels, changes and waits
//   are the Xvfb's, which shows weston's whole output.
#pragma once

// Own
#include "compositor_display.h"
#include "xvfb_display.h"

// Standard
#include <memory>
#include <string>

namespace driver {

class WestonDisplay : public CompositorDisplay {
public:
    struct Options {
        bool input = false;             // in an Xvfb of its own, which gives it keys and a pointer
        std::string keyboardLayout{};   // with input: the keyboard's XKB layout ("fr"); empty, us
    };

    // Throws std::runtime_error when weston does not come up. runtime is the session's
    // XDG_RUNTIME_DIR (mode 0700, or weston refuses it); weston's log, its configuration and the
    // screenshots go into folder.
    WestonDisplay(QSize size, const std::string &runtime, const std::string &folder);
    WestonDisplay(QSize size, const std::string &runtime, const std::string &folder, const Options &options);
    ~WestonDisplay() override;

    // The X server weston runs in, with input; nullptr when it runs headless.
    XvfbDisplay *host() { return m_host.get(); }

    std::vector<std::string> clientEnvironment() const override;
    QImage grab(const QRect &area) override;
    bool key(const std::string &keysymName) override;
    void moveTo(QPoint at) override;
    void button(int button, bool down) override;
    Clock::time_point waitUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout,
                                std::chrono::milliseconds pollInterval) override;
    bool waitForQuiet(std::chrono::milliseconds quiet, std::chrono::milliseconds timeout) override;

private:
    void writeConfiguration(const std::string &file) const;
    QImage grabOutput() override;

    std::string m_runtime;
    std::string m_grabs;   // an empty folder of its own: weston-screenshooter names its file itself
    Options m_options;
    std::unique_ptr<XvfbDisplay> m_host;   // with input only
};

}  // namespace driver
