// What the driver's Wayland compositors share: a compositor of the driver's own, its socket in the
// session's runtime folder, that shows what the game draws and is seen only through screenshots of
// the whole output. A compositor tells no other client about a program's windows, and neither of
// them has a pointer the driver could move, so those calls throw rather than pretend. Changes on
// the screen are seen by comparing screenshots, each taking a noticeable time, so waits here poll
// at that pace.
#pragma once

// Own
#include "display.h"
#include "process.h"

// Standard
#include <memory>
#include <string>
#include <vector>

namespace driver {

class CompositorDisplay : public Display {
public:
    CompositorDisplay(const CompositorDisplay &) = delete;
    CompositorDisplay &operator=(const CompositorDisplay &) = delete;
    ~CompositorDisplay() override;

    // The compositor's process, for a test that ends it as a crash or a logout would.
    pid_t pid() const { return m_server->pid(); }

    QSize size() const override { return m_size; }
    QImage grab(const QRect &area) override;
    void moveTo(QPoint at) override;
    void button(int button, bool down) override;
    std::vector<WindowInfo> windowsOf(pid_t pid) override;
    bool requestClose(unsigned long window) override;
    Clock::time_point waitUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout,
                                std::chrono::milliseconds pollInterval) override;
    bool waitForQuiet(std::chrono::milliseconds quiet, std::chrono::milliseconds timeout) override;

protected:
    explicit CompositorDisplay(QSize size) : m_size(size) {}

    // Starts the compositor and waits until it listens on socket; throws std::runtime_error with
    // its log when it does not. A client that connects then is served as soon as its loop runs.
    void startServer(const std::string &name, const std::vector<std::string> &argv,
                     const std::vector<std::string> &environment, const std::string &log, const std::string &socket);
    // Asks the compositor to end, so that it ends what it started and removes its socket.
    void stopServer();
    // What a Qt program needs to reach the compositor listening on socket, and nothing else: no X
    // display beside it, as in a Wayland login without Xwayland, and no frame of Qt's own around
    // its windows, so that they begin at the output's corner as on the Xvfb display.
    static std::vector<std::string> clientEnvironmentFor(const std::string &socket);
    // A screenshot of the whole output that a program wrote into file, as RGB32; throws when it
    // cannot be read or is not of the output's size.
    QImage readOutput(const std::string &file, const std::string &program) const;
    // Waits for a program that takes a screenshot to finish; throws with its output when it fails.
    static void expectSuccess(Process &tool, const std::string &program);

    // The whole output as the compositor composes it.
    virtual QImage grabOutput() = 0;

private:
    QSize m_size;
    std::unique_ptr<Process> m_server;
};

}  // namespace driver
