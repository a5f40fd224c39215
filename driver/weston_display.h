// A headless weston of the driver's own, its socket in the session's runtime folder: what a Wayland
// desktop gives the game, without a screen. It draws with pixman into memory; screenshots come
// through weston-screenshooter, which weston allows a client only with its debug protocol on.
// Its headless backend has no input devices at all, so this display cannot type or click: key(),
// moveTo() and button() throw rather than pretend. Changes on the screen are seen by comparing
// screenshots, each a few hundred milliseconds, so waits here poll at that pace.
#pragma once

// Own
#include "display.h"
#include "process.h"

// Standard
#include <memory>
#include <string>

namespace driver {

class WestonDisplay : public Display {
public:
    // Throws std::runtime_error when weston does not come up. runtime is the session's
    // XDG_RUNTIME_DIR (mode 0700, or weston refuses it); weston's log, its configuration and the
    // screenshots go into folder.
    WestonDisplay(QSize size, const std::string &runtime, const std::string &folder);
    WestonDisplay(const WestonDisplay &) = delete;
    WestonDisplay &operator=(const WestonDisplay &) = delete;
    ~WestonDisplay() override;

    // The compositor's process, for a test that ends it as a crash or a logout would.
    pid_t pid() const { return m_server->pid(); }

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
    std::unique_ptr<Process> m_server;
};

}  // namespace driver
