// A weston of the driver's own, its socket in the session's runtime folder: what a Wayland desktop
// gives the game. It draws with pixman, in one of two ways:
// - headless, into memory. Screenshots come through weston-screenshooter, which weston allows a
//   client only with its debug protocol on; changes on the screen are seen by comparing them, each
//   a few hundred milliseconds, so waits poll at that pace. Its headless backend has no input
//   devices at all, so key(), moveTo() and button() throw rather than pretend.
// - with input, in a window that covers an Xvfb of its own (weston's x11 backend). Keys and the
//   pointer go through XTest into that window, and weston hands them to its Wayland clients with
//   the keymap the X server's XKB names give (not its configuration's). Pixels, changes and waits
//   are the Xvfb's, which shows weston's whole output.
#pragma once

// Own
#include "display.h"
#include "process.h"
#include "xvfb_display.h"

// Standard
#include <memory>
#include <string>

namespace driver {

class WestonDisplay : public Display {
public:
    // Throws std::runtime_error when weston does not come up. runtime is the session's
    // XDG_RUNTIME_DIR (mode 0700, or weston refuses it); weston's log, its configuration and the
    // screenshots go into folder.
    struct Options {
        bool input = false;           // in an Xvfb of its own, which gives it keys and a pointer
        std::string keyboardLayout{};   // with input: the keyboard's XKB layout ("fr"); empty, us
    };

    WestonDisplay(QSize size, const std::string &runtime, const std::string &folder);
    WestonDisplay(QSize size, const std::string &runtime, const std::string &folder, const Options &options);
    WestonDisplay(const WestonDisplay &) = delete;
    WestonDisplay &operator=(const WestonDisplay &) = delete;
    ~WestonDisplay() override;

    // The compositor's process, for a test that ends it as a crash or a logout would.
    pid_t pid() const { return m_server->pid(); }
    // The X server weston runs in, with input; nullptr when it runs headless.
    XvfbDisplay *host() { return m_host.get(); }

    std::vector<std::string> clientEnvironment() const override;
    QSize size() const override { return m_size; }
    QImage grab(const QRect &area) override;
    bool key(const std::string &keysymName) override;
    void moveTo(QPoint at) override;
    void button(int button, bool down) override;
    std::vector<WindowInfo> windowsOf(pid_t pid) override;
    bool requestClose(unsigned long window) override;
    Clock::time_point waitUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout,
                                std::chrono::milliseconds pollInterval) override;
    bool waitForQuiet(std::chrono::milliseconds quiet, std::chrono::milliseconds timeout) override;

private:
    void writeConfiguration(const std::string &file) const;
    void stop();
    // The whole output as weston composes it.
    QImage grabOutput();

    QSize m_size;
    std::string m_runtime;
    std::string m_grabs;   // an empty folder of its own: weston-screenshooter names its file itself
    Options m_options;
    std::unique_ptr<XvfbDisplay> m_host;   // with input only
    std::unique_ptr<Process> m_server;
};

}  // namespace driver
