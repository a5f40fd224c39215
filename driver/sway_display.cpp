// Own
#include "sway_display.h"

// Standard
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace driver {
namespace {

// sway takes the first free name from wayland-1 on, and the session's runtime folder is its own.
constexpr const char *kSocket = "wayland-1";
constexpr const char *kUser = "nobody";
constexpr auto kOutputTimeout = 10s;

}  // namespace

SwayDisplay::SwayDisplay(QSize size, const std::string &runtime, const std::string &folder)
    : CompositorDisplay(size), m_runtime(runtime), m_own(folder + "/sway")
{
    for (const char *sub : {"", "/home", "/grabs", "/programs"})
        std::filesystem::create_directories(m_own + sub);
    if (geteuid() == 0)
        giveFoldersToUser(folder);
    const std::string configuration = m_own + "/config";
    writeConfiguration(configuration);
    std::vector<std::string> argv = m_asUser;
    argv.insert(argv.end(), {"sway", "--config", configuration});
    // Headless, drawn in memory, with no input device of the machine's: keys come from wtype alone.
    // Nothing of the caller's display may reach sway, or it would take it for its backend's host.
    startServer("sway", argv,
                composeEnvironment({"XDG_RUNTIME_DIR=" + m_runtime, "HOME=" + m_own + "/home", "WLR_BACKENDS=headless",
                                    "WLR_RENDERER=pixman", "WLR_LIBINPUT_NO_DEVICES=1", "WAYLAND_DISPLAY",
                                    "WAYLAND_SOCKET", "DISPLAY", "SWAYSOCK", "I3SOCK"}),
                folder + "/sway.log", (std::filesystem::path(runtime) / kSocket).string());
    // sway listens before it has made its output and given it the configured mode; a screenshot of
    // the output's size says both are done.
    const auto deadline = Clock::now() + kOutputTimeout;
    for (;;) {
        try {
            grabOutput();
            return;
        } catch (const std::runtime_error &error) {
            if (Clock::now() >= deadline)
                throw std::runtime_error(std::string("sway's output never came up: ") + error.what());
        }
        std::this_thread::sleep_for(20ms);
    }
}

void SwayDisplay::giveFoldersToUser(const std::string &folder)
{
    const passwd *user = getpwnam(kUser);
    if (user == nullptr)
        throw std::runtime_error(std::string("there is no user ") + kUser + " to run sway as");
    const uid_t uid = user->pw_uid;
    const gid_t gid = user->pw_gid;
    // The user passes through the session's folder without reading it, and owns its runtime folder
    // (mode 0700, or Wayland programs refuse it), the session's home and the folders sway and its
    // tools write into.
    bool given = chmod(folder.c_str(), 0711) == 0 && chown(m_runtime.c_str(), uid, gid) == 0 &&
                 chown((folder + "/home").c_str(), uid, gid) == 0;
    for (const char *sub : {"", "/home", "/grabs"})
        given = given && chown((m_own + sub).c_str(), uid, gid) == 0;
    if (!given)
        throw std::runtime_error("cannot give the session's folders to the user " + std::string(kUser));
    m_asUser = {"setpriv", "--reuid=" + std::to_string(uid), "--regid=" + std::to_string(gid), "--clear-groups", "--"};
}

void SwayDisplay::writeConfiguration(const std::string &file) const
{
    // A desktop with nothing of its own on the output, as the Xvfb display has no window manager:
    // no bar, no wallpaper program (the bare output is black, which no screen of the game uses), no
    // border or title around a window, no X server, no blanking, and the output of the display's
    // size at scale 1.
    std::ofstream out(file);
    out << "output HEADLESS-1 mode " << size().width() << "x" << size().height() << " scale 1\n"
        << "swaybg_command -\n"
           "swaynag_command -\n"
           "xwayland disable\n"
           "default_border none\n"
           "default_floating_border none\n"
           "focus_follows_mouse no\n";
    if (!out)
        throw std::runtime_error("cannot write " + file);
}

std::vector<std::string> SwayDisplay::clientEnvironment() const { return clientEnvironmentFor(kSocket); }

std::vector<std::string> SwayDisplay::clientCommand(const std::vector<std::string> &argv)
{
    if (m_asUser.empty() || argv.empty())
        return argv;
    std::vector<std::string> command = m_asUser;
    command.insert(command.end(), argv.begin(), argv.end());
    const std::string &program = argv.front();
    if (program.find('/') == std::string::npos)
        return command;   // looked up in PATH, where every user may read
    auto copy = m_copies.find(program);
    if (copy == m_copies.end()) {
        const std::string to = m_own + "/programs/" + std::to_string(m_copies.size()) + "-" +
                               std::filesystem::path(program).filename().string();
        std::filesystem::copy_file(program, to, std::filesystem::copy_options::overwrite_existing);
        std::filesystem::permissions(to, std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                                             std::filesystem::perms::group_exec | std::filesystem::perms::others_read |
                                             std::filesystem::perms::others_exec);
        copy = m_copies.emplace(program, to).first;
    }
    command[m_asUser.size()] = copy->second;
    return command;
}

std::vector<std::string> SwayDisplay::toolEnvironment() const
{
    return composeEnvironment({std::string("WAYLAND_DISPLAY=") + kSocket, "XDG_RUNTIME_DIR=" + m_runtime,
                               "HOME=" + m_own + "/home", "DISPLAY"});
}

QImage SwayDisplay::grabOutput()
{
    // PPM: no compression to wait for, and Qt reads it.
    const std::string file = m_own + "/grabs/output.ppm";
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    std::vector<std::string> argv = m_asUser;
    argv.insert(argv.end(), {"grim", "-t", "ppm", file});
    Process grim(argv, toolEnvironment(), m_own + "-grim.log");
    expectSuccess(grim, "grim");
    return readOutput(file, "grim");
}

bool SwayDisplay::key(const std::string &keysymName)
{
    // Each wtype is a new virtual keyboard with a keymap of its own; its key comes 50 ms after that
    // keymap rather than with it.
    std::vector<std::string> argv = m_asUser;
    argv.insert(argv.end(), {"wtype", "-s", "50", "-k", keysymName});
    Process wtype(argv, toolEnvironment(), m_own + "-wtype.log");
    const int status = wtype.waitExit(10s);
    if (status != 0 && wtype.output().find("Unknown key") != std::string::npos)
        return false;
    if (status != 0)
        throw std::runtime_error("wtype " + keysymName + " ended with status " + std::to_string(status) + ": " +
                                 wtype.output());
    return true;
}

}  // namespace driver
