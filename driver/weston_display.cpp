// Own
#include "weston_display.h"

// Standard
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace driver {
namespace {

// The session's runtime folder is its own, so the usual name of a desktop's first socket is free.
constexpr const char *kSocket = "wayland-0";

}  // namespace

WestonDisplay::WestonDisplay(QSize size, const std::string &runtime, const std::string &folder)
    : WestonDisplay(size, runtime, folder, Options{})
{
}

WestonDisplay::WestonDisplay(QSize size, const std::string &runtime, const std::string &folder,
                             const Options &options)
    : CompositorDisplay(size), m_runtime(runtime), m_grabs(folder + "/grabs"), m_options(options)
{
    if (!options.input && !options.keyboardLayout.empty())
        throw std::runtime_error("a headless weston has no keyboard to lay out");
    std::filesystem::create_directories(m_grabs);
    const std::string configuration = folder + "/weston.ini";
    writeConfiguration(configuration);
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
    startServer("weston",
                {"weston", backend, "--use-pixman", "--debug", "--config=" + configuration,
                 "--width=" + std::to_string(size.width()), "--height=" + std::to_string(size.height()),
                 std::string("--socket=") + kSocket},
                composeEnvironment(environment), folder + "/weston.log",
                (std::filesystem::path(runtime) / kSocket).string());
    // Keys go to the X window under the pointer, weston's, which covers the Xvfb. The pointer rests
    // on its last pixel, away from every control (the centre, where Xvfb puts it, is on Next
    // Question); weston draws a pointer of its own into its output, at its top left corner then.
    if (m_host)
        m_host->moveTo(QPoint(size.width() - 1, size.height() - 1));
}

// weston goes before the X server it runs in.
WestonDisplay::~WestonDisplay() { stopServer(); }

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

std::vector<std::string> WestonDisplay::clientEnvironment() const { return clientEnvironmentFor(kSocket); }

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
    expectSuccess(shooter, "weston-screenshooter");
    for (const auto &entry : std::filesystem::directory_iterator(m_grabs))
        if (entry.path().extension() == ".png")
            return readOutput(entry.path().string(), "weston-screenshooter");
    throw std::runtime_error("weston-screenshooter wrote no picture: " + shooter.output());
}

QImage WestonDisplay::grab(const QRect &area) { return m_host ? m_host->grab(area) : CompositorDisplay::grab(area); }

bool WestonDisplay::key(const std::string &keysymName)
{
    if (m_host)
        return m_host->key(keysymName);
    throw std::runtime_error("key " + keysymName +
                             ": keys are not supported on this display (weston's headless backend has no keyboard)");
}

void WestonDisplay::moveTo(QPoint at) { m_host ? m_host->moveTo(at) : CompositorDisplay::moveTo(at); }

void WestonDisplay::button(int button, bool down)
{
    m_host ? m_host->button(button, down) : CompositorDisplay::button(button, down);
}

Clock::time_point WestonDisplay::waitUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout,
                                           std::chrono::milliseconds pollInterval)
{
    return m_host ? m_host->waitUntil(done, timeout, pollInterval)
                  : CompositorDisplay::waitUntil(done, timeout, pollInterval);
}

bool WestonDisplay::waitForQuiet(std::chrono::milliseconds quiet, std::chrono::milliseconds timeout)
{
    return m_host ? m_host->waitForQuiet(quiet, timeout) : CompositorDisplay::waitForQuiet(quiet, timeout);
}

}  // namespace driver
