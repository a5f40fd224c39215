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
    : CompositorDisplay(size), m_runtime(runtime), m_grabs(folder + "/grabs")
{
    std::filesystem::create_directories(m_grabs);
    const std::string configuration = folder + "/weston.ini";
    writeConfiguration(configuration);
    // Nothing of the caller's display may reach weston: with WAYLAND_DISPLAY or DISPLAY it would
    // still run headless, but the shell's own client it starts would look for them.
    startServer("weston",
                {"weston", "--backend=headless-backend.so", "--use-pixman", "--debug", "--config=" + configuration,
                 "--width=" + std::to_string(size.width()), "--height=" + std::to_string(size.height()),
                 std::string("--socket=") + kSocket},
                composeEnvironment({"XDG_RUNTIME_DIR=" + runtime, "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "DISPLAY"}),
                folder + "/weston.log", (std::filesystem::path(runtime) / kSocket).string());
}

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

bool WestonDisplay::key(const std::string &keysymName)
{
    throw std::runtime_error("key " + keysymName +
                             ": keys are not supported on this display (weston's headless backend has no keyboard)");
}

}  // namespace driver
