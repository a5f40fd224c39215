// A private X server and a client of it that sees and touches the screen as a player would:
// pixels read back, keys and clicks sent through XTest, windows closed as a window manager closes
// them. Shared by the monkey test and the bench; nothing of Qt, so that Xlib's macros stay here.
#pragma once

// Standard
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace xsession {

using Clock = std::chrono::steady_clock;

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    friend bool operator==(Rgb, Rgb) = default;
};
std::string toString(Rgb c);

// The screens' colours as the display shows them.
inline constexpr Rgb kLightYellow{255, 255, 192};   // the title screen
inline constexpr Rgb kBlack{0, 0, 0};               // the question screen
inline constexpr Rgb kLightPink{255, 192, 192};     // the farewell screen
inline constexpr Rgb kLightGreen{128, 255, 128};    // lblPress on the title screen

// An Xvfb of its own, on a display number it picks itself (-displayfd).
class Server {
public:
    Server() = default;
    Server(const Server &) = delete;
    Server &operator=(const Server &) = delete;
    ~Server();

    // Throws std::runtime_error when Xvfb does not come up within a few seconds.
    void start(const std::string &geometry, const std::string &logFile);
    void stop();
    const std::string &display() const { return m_display; }

private:
    pid_t m_pid = -1;
    std::string m_display;
};

struct WindowInfo {
    unsigned long id = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool viewable = false;
};

class Client {
public:
    Client() = default;
    Client(const Client &) = delete;
    Client &operator=(const Client &) = delete;
    ~Client();

    void open(const std::string &display);   // throws std::runtime_error
    void close();

    int width() const { return m_width; }
    int height() const { return m_height; }

    Rgb pixel(int x, int y);
    // Every step-th pixel of every step-th row of a rectangle, read in one request: a check that
    // asks for each pixel on its own takes longer than the change it waits for.
    std::vector<Rgb> area(int x, int y, int width, int height, int step = 1);
    // The whole screen as a binary PPM, for a failure to be looked at later.
    bool saveScreenshot(const std::string &path);

    // Keys by X keysym name ("a", "exclam", "Return", "F5" ...); Shift is held when the keysym
    // sits on the shifted level of its key. False when the keymap has no key for it.
    bool key(const std::string &keysymName);
    void moveTo(int x, int y);
    void buttonDown(int button = 1);
    void buttonUp(int button = 1);
    void click(int x, int y, int button = 1);
    void flush();
    void sync();

    // Top-level windows that say they belong to the process (_NET_WM_PID), mapped or not.
    std::vector<WindowInfo> windowsOf(pid_t pid);
    // Asks the window to close with WM_DELETE_WINDOW, as a window manager's close button does.
    bool requestClose(unsigned long window);

    // Waits until done() holds, checking after every change the server reports on the screen
    // (the Damage extension) and at least every pollMs. Returns the time of the check that saw it,
    // or Clock::time_point{} on timeout.
    Clock::time_point waitUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout,
                                int pollMs = 5);

private:
    void *m_display = nullptr;   // Display *
    unsigned long m_root = 0;
    int m_width = 0;
    int m_height = 0;
    int m_damageEvent = 0;
    unsigned long m_damage = 0;
    unsigned long m_redMask = 0;
    unsigned long m_greenMask = 0;
    unsigned long m_blueMask = 0;
};

// A child process with its output sent to a file. Its environment is the caller's with the given
// variables put in; or, for a clean one, only the caller's PATH and the given variables.
pid_t spawn(const std::vector<std::string> &argv, const std::vector<std::string> &environment,
            const std::string &outputFile, bool clean = false);

// Exit status of a child that has ended: 0..255 as it exited, 128 + signal when a signal ended it.
// Waits at most timeout; returns -1 when it is still running then.
int waitExit(pid_t pid, std::chrono::milliseconds timeout);
bool running(pid_t pid);

std::string readFile(const std::string &path);

}  // namespace xsession
