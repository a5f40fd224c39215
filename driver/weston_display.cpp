// Own
#include "weston_display.h"

// Standard
#include <csignal>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace driver {
namespace {

// The session's runtime folder is its own, so the usual name of a desktop's first socket is free.
constexpr const char *kSocket = "wayland-0";
constexpr auto kStartTimeout = 10s;
constexpr auto kGrabTimeout = 10s;

}  // namespace

WestonDisplay::WestonDisplay(QSize size, const std::string &runtime, const std::string &folder)
    : WestonDisplay(size, runtime, folder, Options{})
{
}

WestonDisplay::WestonDisplay(QSize size, const std::string &runtime, const std::string &folder,
                             const Options &options)
    : m_size(size), m_runtime(runtime), m_grabs(folder + "/grabs"), m_options(options)
{
    if (!options.input && !options.keyboardLayout.empty())
        throw std::runtime_error("a headless weston has no keyboard to lay out");
    std::filesystem::create_directories(m_grabs);
    const std::string configuration = folder + "/weston.ini";
    writeConfiguration(configuration);
    const std::string log = folder + "/weston.log";
    // Nothing of the caller's display may reach weston: with WAYLAND_DISPLAY or DISPLAY it would
    // still run headless, but the shell's own client it starts would look for them. With input, its
    // one X display is its own Xvfb's.
    std::vector<std::string> environment{"XDG_RUNTIME_DIR=" + runtime, "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "DISPLAY"};
    std::string backend = "--backend=headless-backend.so";
    if (options.input) {
        XvfbDisplay::Options host;
        host.keyboardLayout = options.keyboardLayout;
        m_host = std::make_unique<XvfbDisplay>(size, 1, folder, host);
        for (const std::string &variable : m_host->clientEnvironment())
            if (variable.starts_with("DISPLAY=") || variable.starts_with("XAUTHORITY="))
                environment.push_back(variable);
        backend = "--backend=x11-backend.so";
    }
    m_server = std::make_unique<Process>(
        std::vector<std::string>{"weston", backend, "--use-pixman", "--debug", "--config=" + configuration,
                                 "--width=" + std::to_string(size.width()),
                                 "--height=" + std::to_string(size.height()), std::string("--socket=") + kSocket},
        composeEnvironment(environment), log);
    // weston listens on its socket before it runs its loop: a client that connects at once is
    // served as soon as the loop starts.
    const std::filesystem::path socket = std::filesystem::path(runtime) / kSocket;
    const auto deadline = Clock::now() + kStartTimeout;
    while (!std::filesystem::is_socket(socket)) {
        if (Clock::now() >= deadline || !m_server->running()) {
            stop();
            throw std::runtime_error("weston did not start: " + readFile(log));
        }
        std::this_thread::sleep_for(5ms);
    }
    // Keys go to the X window under the pointer, weston's, which covers the Xvfb. The pointer rests
    // on its last pixel, away from every control (the centre, where Xvfb puts it, is on Next
    // Question); weston draws a pointer of its own into its output, at its top left corner then.
    if (m_host)
        m_host->moveTo(QPoint(size.width() - 1, size.height() - 1));
}

WestonDisplay::~WestonDisplay() { stop(); }

void WestonDisplay::writeConfiguration(const std::string &file) const
{
    // A desktop with nothing of its own on the output, as the Xvfb display has no window manager:
    // no panel (the game's maximized window covers all of the output), a plain black background
    // that no screen of the game uses, no animation that a screenshot could catch half-way, no
    // on-screen keyboard, and no blanking while a test waits.
    std::ofstream out(file);
    out << "[core]\n"
           "idle-time=0\n"
           "\n"
           "[shell]\n"
           "panel-position=none\n"
           "background-color=0xff000000\n"
           "startup-animation=none\n"
           "animation=none\n"
           "close-animation=none\n"
           "focus-animation=none\n"
           "\n"
           "[input-method]\n"
           "path=\n";
    // For a backend that lays out its own keyboard; the x11 backend takes its X server's layout.
    if (!m_options.keyboardLayout.empty())
        out << "\n[keyboard]\nkeymap_layout=" << m_options.keyboardLayout << "\n";
    if (!out)
        throw std::runtime_error("cannot write " + file);
}

void WestonDisplay::stop()
{
    if (!m_server)
        return;
    // Asked first, so that weston ends the shell's client it started and removes its socket.
    if (m_server->running()) {
        ::kill(m_server->pid(), SIGTERM);
        m_server->waitExit(5s);
    }
    m_server.reset();
    m_host.reset();
}

std::vector<std::string> WestonDisplay::clientEnvironment() const
{
    // No DISPLAY at all, as in a Wayland login without Xwayland: the game must find its way to the
    // compositor alone. No frame of Qt's own around the window either: this desktop draws none, as
    // the Xvfb display has no window manager, so the game's window begins at the output's corner
    // where the layout tables put its controls.
    return {std::string("WAYLAND_DISPLAY=") + kSocket, "QT_QPA_PLATFORM=wayland", "DISPLAY",
            "QT_WAYLAND_DISABLE_WINDOWDECORATION=1"};
}

QImage WestonDisplay::grabOutput()
{
    std::error_code ignored;
    for (const auto &entry : std::filesystem::directory_iterator(m_grabs))
        std::filesystem::remove(entry.path(), ignored);
    // weston-screenshooter writes into its working folder, under a name of its own with the time.
    Process shooter({"sh", "-c", "cd \"$1\" && exec weston-screenshooter", "sh", m_grabs},
                    composeEnvironment({std::string("WAYLAND_DISPLAY=") + kSocket, "XDG_RUNTIME_DIR=" + m_runtime,
                                        "DISPLAY"}),
                    m_grabs + ".log");
    const int status = shooter.waitExit(kGrabTimeout);
    if (status != 0)
        throw std::runtime_error("weston-screenshooter " +
                                 (status < 0 ? std::string("did not finish") : "ended with status " + std::to_string(status)) +
                                 ": " + shooter.output());
    for (const auto &entry : std::filesystem::directory_iterator(m_grabs)) {
        if (entry.path().extension() != ".png")
            continue;
        const QImage image(QString::fromStdString(entry.path().string()));
        if (image.size() != m_size)
            throw std::runtime_error("weston-screenshooter wrote " + entry.path().string() + " of " +
                                     std::to_string(image.width()) + "x" + std::to_string(image.height()) +
                                     " pixels for an output of " + std::to_string(m_size.width()) + "x" +
                                     std::to_string(m_size.height()));
        return image.convertToFormat(QImage::Format_RGB32);
    }
    throw std::runtime_error("weston-screenshooter wrote no picture: " + shooter.output());
}

QImage WestonDisplay::grab(const QRect &area)
{
    if (m_host)
        return m_host->grab(area);
    const QRect r = area.intersected(QRect(QPoint(0, 0), m_size));
    if (r.isEmpty())
        return {};
    return grabOutput().copy(r);
}

bool WestonDisplay::key(const std::string &keysymName)
{
    if (m_host)
        return m_host->key(keysymName);
    throw std::runtime_error("key " + keysymName +
                             ": keys are not supported on this display (weston's headless backend has no keyboard)");
}

void WestonDisplay::moveTo(QPoint at)
{
    if (m_host)
        return m_host->moveTo(at);
    throw std::runtime_error("the pointer is not supported on this display (weston's headless backend has none)");
}

void WestonDisplay::button(int button, bool down)
{
    if (m_host)
        return m_host->button(button, down);
    throw std::runtime_error("buttons are not supported on this display (weston's headless backend has no pointer)");
}

std::vector<WindowInfo> WestonDisplay::windowsOf(pid_t)
{
    // A Wayland client's windows are known to the compositor alone; weston tells no other client.
    throw std::runtime_error("listing a program's windows is not supported on this display");
}

bool WestonDisplay::requestClose(unsigned long)
{
    throw std::runtime_error("closing a window is not supported on this display");
}

Clock::time_point WestonDisplay::waitUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout,
                                           std::chrono::milliseconds pollInterval)
{
    if (m_host)
        return m_host->waitUntil(done, timeout, pollInterval);
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        if (done())
            return Clock::now();
        const auto now = Clock::now();
        if (now >= deadline)
            return {};
        std::this_thread::sleep_for(std::min<Clock::duration>(deadline - now, pollInterval));
    }
}

bool WestonDisplay::waitForQuiet(std::chrono::milliseconds quiet, std::chrono::milliseconds timeout)
{
    if (m_host)
        return m_host->waitForQuiet(quiet, timeout);
    // Quiet once two screenshots at least `quiet` apart are the same; a change is dated by the
    // screenshot that saw it, a few hundred milliseconds after it may have happened.
    const auto deadline = Clock::now() + timeout;
    QImage last = grabOutput();
    auto lastChange = Clock::now();
    for (;;) {
        const auto now = Clock::now();
        if (now < lastChange + quiet)
            std::this_thread::sleep_for(std::min<Clock::duration>(lastChange + quiet - now, deadline - now));
        QImage next = grabOutput();
        const auto seen = Clock::now();
        if (next != last) {
            last = std::move(next);
            lastChange = seen;
        } else if (seen >= lastChange + quiet) {
            return true;
        }
        if (seen >= deadline)
            return false;
    }
}

}  // namespace driver
