// Own
#include "session.h"
#include "private_home.h"
#include "sway_display.h"
#include "weston_display.h"
#include "xvfb_display.h"

// Standard
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace driver {
namespace {
constexpr std::size_t kFolderNameLength = 40;

std::string commandLineOf(pid_t pid)
{
    std::string line = readFile("/proc/" + std::to_string(pid) + "/cmdline");
    std::replace(line.begin(), line.end(), '\0', ' ');
    return line;
}

}  // namespace

std::vector<pid_t> programsOnRuntime(const std::string &runtime)
{
    const std::string wanted = "XDG_RUNTIME_DIR=" + runtime;
    std::vector<pid_t> found;
    std::error_code error;
    for (const auto &entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const auto pid = static_cast<pid_t>(std::stol(name));
        // A program that has ended, or is another user's, shows no environment: it is passed over.
        const std::string environment = readFile(entry.path().string() + "/environ");
        for (std::size_t at = 0; at < environment.size();) {
            const std::size_t end = std::min(environment.find('\0', at), environment.size());
            if (environment.compare(at, end - at, wanted) == 0 && pid != getpid()) {
                found.push_back(pid);
                break;
            }
            at = end + 1;
        }
    }
    return found;
}

Session::Session(const Options &options)
    : m_scale(options.dpiScale * options.scaleFactor), m_uncaught(std::uncaught_exceptions())
{
    // Sockets live in the folder (the session bus, the accessibility bus, a compositor's), and a
    // socket's path holds at most 107 bytes: a long name is cut so that theirs still fit.
    std::string pattern = "/tmp/tarvelo-" + options.name.substr(0, kFolderNameLength) + ".XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        throw Failure("cannot make a folder for the session");
    m_folder = pattern;
    // The runtime folder exists before the display starts: a Wayland compositor puts its socket there.
    m_runtime = m_folder + "/runtime";
    mkdir(m_runtime.c_str(), 0700);
    // So does the home, which a display may give to the user it runs its programs as.
    m_home = m_folder + "/home";
    mkdir(m_home.c_str(), 0700);
    if ((options.wayland || options.tiling) && options.dpiScale != 1)
        throw Failure("a Wayland session takes no dpiScale: Xft.dpi is an X resource");
    if (options.tiling) {
        m_display = std::make_unique<SwayDisplay>(options.display, m_runtime, m_folder);
    } else if (options.wayland) {
        if (!options.waylandInput && !options.keyboardLayout.empty())
            throw Failure("a headless weston has no keyboard to lay out");
        m_display = std::make_unique<WestonDisplay>(
            options.display, m_runtime, m_folder,
            WestonDisplay::Options{.input = options.waylandInput, .keyboardLayout = options.keyboardLayout});
    } else {
        m_display = std::make_unique<XvfbDisplay>(options.display, options.dpiScale, m_folder,
                                                  XvfbDisplay::Options{.largest = options.largestDisplay,
                                                                       .depth = options.depth,
                                                                       .authorization = options.authorization,
                                                                       .keyboardLayout = options.keyboardLayout});
    }
    // The session bus hands its own environment to the services it starts on demand (the
    // accessibility bus, dconf), so the home reaches them through it too.
    m_environment = homeEnvironment(m_home);
    const std::vector<std::string> display = m_display->clientEnvironment();
    m_environment.insert(m_environment.end(), display.begin(), display.end());
    m_environment.push_back("XDG_RUNTIME_DIR=" + m_runtime);
    if (options.scaleFactor != 1)
        m_environment.push_back("QT_SCALE_FACTOR=" + std::to_string(options.scaleFactor));
    m_probe = probePoint(options.display, m_scale);
    if (options.sessionBus)
        startSessionBus(m_runtime);
    if (options.accessibilityBus) {
        if (!options.sessionBus)
            throw Failure("the accessibility bus is found through the session bus (Options::sessionBus)");
        startAccessibilityBus();
    }
    if (options.windowManager)
        startWindowManager();
}

void Session::startSessionBus(const std::string &runtime)
{
    const std::string socket = runtime + "/bus";
    m_busAddress = "unix:path=" + socket;
    launch({"dbus-daemon", "--session", "--nofork", "--nopidfile", "--address=" + m_busAddress}, {}, false,
           "session-bus");
    const auto deadline = Clock::now() + 10s;
    while (!std::filesystem::exists(socket)) {
        if (Clock::now() >= deadline || !m_processes.back()->running())
            fail("the session bus did not start: " + m_processes.back()->output());
        std::this_thread::sleep_for(10ms);
    }
    // Whatever bus the caller has is not this session's.
    m_environment.push_back("DBUS_SESSION_BUS_ADDRESS=");
}

void Session::startAccessibilityBus()
{
    Process &launcher = launch({"/usr/libexec/at-spi-bus-launcher"},
                               {"DBUS_SESSION_BUS_ADDRESS=" + m_busAddress, "DISPLAY"}, false, "accessibility-bus");
    // Up once it owns its name on the session bus, where programs look for it.
    const auto deadline = Clock::now() + 10s;
    while (!busNameOwned("org.a11y.Bus")) {
        if (Clock::now() >= deadline || !launcher.running())
            fail("the accessibility bus did not start: " + launcher.output());
        std::this_thread::sleep_for(20ms);
    }
    // A desktop's default: assistive technology off until the player turns some on.
    setAccessibilityStatus("IsEnabled", false);
}

std::string Session::askSessionBus(const std::vector<std::string> &call, const std::string &destination)
{
    std::vector<std::string> argv{"dbus-send", "--bus=" + m_busAddress, "--print-reply", "--dest=" + destination};
    argv.insert(argv.end(), call.begin(), call.end());
    Process ask(argv, environment(), m_folder + "/session-bus-asked.log");
    if (ask.waitExit(5s) == -1)
        fail("dbus-send did not answer within 5 s");
    return ask.output();
}

bool Session::busNameOwned(const std::string &name)
{
    return askSessionBus({"/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner", "string:" + name},
                         "org.freedesktop.DBus")
               .find("boolean true") != std::string::npos;
}

bool Session::onSessionBus(pid_t program)
{
    if (m_busAddress.empty())
        return false;
    // Every connection has a unique name, ":1.N"; the bus knows the process behind each.
    const std::string names =
        askSessionBus({"/org/freedesktop/DBus", "org.freedesktop.DBus.ListNames"}, "org.freedesktop.DBus");
    const std::string wanted = "uint32 " + std::to_string(program) + "\n";
    for (std::size_t at = names.find("string \":"); at != std::string::npos; at = names.find("string \":", at + 1)) {
        const std::size_t start = at + 8;
        const std::string name = names.substr(start, names.find('"', start) - start);
        const std::string process = askSessionBus(
            {"/org/freedesktop/DBus", "org.freedesktop.DBus.GetConnectionUnixProcessID", "string:" + name},
            "org.freedesktop.DBus");
        if (process.find(wanted) != std::string::npos)
            return true;
    }
    return false;
}

void Session::setAccessibilityStatus(const std::string &property, bool on)
{
    askSessionBus({"/org/a11y/bus", "org.freedesktop.DBus.Properties.Set", "string:org.a11y.Status",
                   "string:" + property, std::string("variant:boolean:") + (on ? "true" : "false")},
                  "org.a11y.Bus");
}

void Session::startWindowManager()
{
    // Its settings are the session home's, none: a user's Openbox settings change no test.
    Process &manager = launch({"openbox", "--sm-disable"}, {}, false, "window-manager");
    // The game must come up managed, so it starts only once the manager manages windows.
    if (!m_display->waitForWindowManager(10s) || !manager.running())
        fail("the window manager did not start: " + manager.output());
}

void Session::resizeDisplay(QSize size)
{
    if (!m_display->resize(size))
        fail("the display did not take the size " + std::to_string(size.width()) + "x" +
             std::to_string(size.height()) + "; it is " + std::to_string(m_display->size().width()) + "x" +
             std::to_string(m_display->size().height()));
    m_probe = probePoint(size, m_scale);
}

Session::~Session()
{
    const bool failing = m_keep || std::uncaught_exceptions() > m_uncaught;
    if (failing) {
        try {
            shot("last-screen");
        } catch (...) {
        }
    }
    m_processes.clear();
    endLeftovers();
    m_display.reset();
    std::error_code ignored;
    if (failing)
        std::cerr << "the session's logs and last screen are kept in " << m_folder << std::endl;
    else
        std::filesystem::remove_all(m_folder, ignored);
}

void Session::endLeftovers()
{
    // A program in the middle of exec() shows no environment for a moment, so the runtime is taken
    // for empty only when two looks 20 ms apart both find no program on it.
    const auto waitUntilGone = [this](std::chrono::milliseconds timeout) {
        const auto deadline = Clock::now() + timeout;
        std::vector<pid_t> left = programsOnRuntime(m_runtime);
        for (int emptyLooks = left.empty() ? 1 : 0; emptyLooks < 2 && Clock::now() < deadline;) {
            std::this_thread::sleep_for(20ms);
            left = programsOnRuntime(m_runtime);
            emptyLooks = left.empty() ? emptyLooks + 1 : 0;
        }
        return left;
    };
    // Services started by the session bus leave once it has gone; give them that moment.
    std::vector<pid_t> left = waitUntilGone(1s);
    for (const pid_t pid : left) {
        std::cerr << "ending program " << pid << " left running by the session: " << commandLineOf(pid) << std::endl;
        ::kill(pid, SIGTERM);
    }
    if (!left.empty())
        for (const pid_t pid : waitUntilGone(500ms))
            ::kill(pid, SIGKILL);
}

std::vector<std::string> Session::environment(const std::vector<std::string> &extra, bool clean) const
{
    std::vector<std::string> given = m_environment;
    given.insert(given.end(), extra.begin(), extra.end());
    return composeEnvironment(given, clean);
}

Process &Session::launch(const std::vector<std::string> &argv, const std::vector<std::string> &extra, bool clean,
                         const std::string &name)
{
    m_processes.push_back(std::make_unique<Process>(m_display->clientCommand(argv), environment(extra, clean),
                                                    m_folder + "/" + name + ".log"));
    return *m_processes.back();
}

std::optional<Screen> Session::screenShown() { return screenWithBackground(m_display->pixel(m_probe)); }

Clock::time_point Session::waitForScreen(Screen screen, std::chrono::milliseconds timeout)
{
    Process *game = m_processes.empty() ? nullptr : m_processes.back().get();
    const auto ended = [game] { return game != nullptr && !game->running(); };
    const auto seen = m_display->waitUntil([&] { return screenShown() == screen || ended(); }, timeout);
    const std::string wanted = std::string("the ") + nameOf(screen) + " screen";
    if (seen != Clock::time_point{} && screenShown() == screen)
        return seen;
    if (ended())
        fail("the game ended with status " + std::to_string(game->waitExit(0ms)) + " before " + wanted + " showed");
    fail(wanted + " did not show within " + std::to_string(timeout.count()) + " ms: at the probe point " +
         std::to_string(m_probe.x()) + "," + std::to_string(m_probe.y()) + " the display shows " +
         m_display->pixel(m_probe).name().toStdString());
}

void Session::waitUntilStill(std::chrono::milliseconds quiet, std::chrono::milliseconds timeout)
{
    if (!m_display->waitForQuiet(quiet, timeout))
        fail("the display never fell still for " + std::to_string(quiet.count()) + " ms");
}

QImage Session::shot(const std::string &name)
{
    QImage image = m_display->grab();
    if (!name.empty())
        image.save(QString::fromStdString(m_folder + "/" + name + ".png"));
    return image;
}

void Session::fail(const std::string &why)
{
    m_keep = true;
    std::string message = why + " (session folder " + m_folder + ")";
    if (!m_processes.empty())
        message += "; the game's output:\n" + m_processes.back()->output();
    throw Failure(message);
}

}  // namespace driver
