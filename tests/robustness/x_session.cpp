// Own
#include "x_session.h"

// X
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>

// Standard
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace xsession {
namespace {

Display *dpy(void *d) { return static_cast<Display *>(d); }

int shiftOf(unsigned long mask)
{
    int shift = 0;
    while (mask != 0 && (mask & 1u) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

int channel(unsigned long pixel, unsigned long mask)
{
    if (mask == 0)
        return 0;
    const unsigned long value = (pixel & mask) >> shiftOf(mask);
    const unsigned long max = mask >> shiftOf(mask);
    return static_cast<int>(value * 255 / max);
}

// Children that waitpid() has already reaped, with their exit status.
std::map<pid_t, int> &reaped()
{
    static std::map<pid_t, int> statuses;
    return statuses;
}

int decode(int status)
{
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

// Xlib reports a request that failed (a window gone between two calls) through this handler;
// the default one ends the process, which must not happen to a test over a window that just closed.
int ignoreXError(Display *, XErrorEvent *) { return 0; }

}  // namespace

std::string toString(Rgb c)
{
    return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
}

// --- Server ----------------------------------------------------------------------------------------

Server::~Server() { stop(); }

void Server::start(const std::string &geometry, const std::string &logFile)
{
    int fds[2];
    if (pipe(fds) != 0)
        throw std::runtime_error("pipe failed");
    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        close(fds[0]);
        const int log = ::open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (log >= 0) {
            dup2(log, 1);
            dup2(log, 2);
        }
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", geometry.c_str(), "-nolisten", "tcp",
               "-noreset", static_cast<char *>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    m_pid = pid;
    std::string number;
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, 100) > 0) {
            char c = 0;
            const ssize_t n = read(fds[0], &c, 1);
            if (n <= 0 || c == '\n')
                break;
            number += c;
        }
    }
    close(fds[0]);
    if (number.empty()) {
        stop();
        throw std::runtime_error("Xvfb did not start: " + readFile(logFile));
    }
    m_display = ":" + number;
}

void Server::stop()
{
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        if (waitExit(m_pid, std::chrono::seconds(5)) < 0) {
            kill(m_pid, SIGKILL);
            waitExit(m_pid, std::chrono::seconds(5));
        }
    }
    m_pid = -1;
}

// --- Client ----------------------------------------------------------------------------------------

Client::~Client() { close(); }

void Client::open(const std::string &display)
{
    XSetErrorHandler(ignoreXError);
    m_display = XOpenDisplay(display.c_str());
    if (m_display == nullptr)
        throw std::runtime_error("cannot open display " + display);
    Display *d = dpy(m_display);
    const int screen = DefaultScreen(d);
    m_root = RootWindow(d, screen);
    m_width = DisplayWidth(d, screen);
    m_height = DisplayHeight(d, screen);
    const Visual *visual = DefaultVisual(d, screen);
    m_redMask = visual->red_mask;
    m_greenMask = visual->green_mask;
    m_blueMask = visual->blue_mask;
    int error = 0;
    int major = 0;
    int minor = 0;
    int opcode = 0;
    if (!XTestQueryExtension(d, &opcode, &error, &major, &minor))
        throw std::runtime_error("the display has no XTest extension");
    if (XDamageQueryExtension(d, &m_damageEvent, &error))
        m_damage = XDamageCreate(d, m_root, XDamageReportNonEmpty);
    XSync(d, False);
}

void Client::close()
{
    if (m_display != nullptr) {
        if (m_damage != 0)
            XDamageDestroy(dpy(m_display), m_damage);
        XCloseDisplay(dpy(m_display));
    }
    m_display = nullptr;
    m_damage = 0;
}

Rgb Client::pixel(int x, int y)
{
    const std::vector<Rgb> one = area(x, y, 1, 1);
    return one.empty() ? Rgb{-1, -1, -1} : one.front();
}

std::vector<Rgb> Client::area(int x, int y, int width, int height, int step)
{
    std::vector<Rgb> pixels;
    XImage *image = XGetImage(dpy(m_display), m_root, x, y, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (image == nullptr)
        return pixels;
    for (int row = 0; row < height; row += step)
        for (int column = 0; column < width; column += step) {
            const unsigned long p = XGetPixel(image, column, row);
            pixels.push_back({channel(p, m_redMask), channel(p, m_greenMask), channel(p, m_blueMask)});
        }
    XDestroyImage(image);
    return pixels;
}

bool Client::saveScreenshot(const std::string &path)
{
    XImage *image = XGetImage(dpy(m_display), m_root, 0, 0, static_cast<unsigned>(m_width),
                              static_cast<unsigned>(m_height), AllPlanes, ZPixmap);
    if (image == nullptr)
        return false;
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << m_width << " " << m_height << "\n255\n";
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            const char rgb[3] = {static_cast<char>(channel(p, m_redMask)), static_cast<char>(channel(p, m_greenMask)),
                                 static_cast<char>(channel(p, m_blueMask))};
            out.write(rgb, 3);
        }
    XDestroyImage(image);
    return static_cast<bool>(out);
}

bool Client::key(const std::string &keysymName)
{
    Display *d = dpy(m_display);
    const KeySym sym = XStringToKeysym(keysymName.c_str());
    if (sym == NoSymbol)
        return false;
    const KeyCode code = XKeysymToKeycode(d, sym);
    if (code == 0)
        return false;
    const bool shifted = XkbKeycodeToKeysym(d, code, 0, 0) != sym && XkbKeycodeToKeysym(d, code, 0, 1) == sym;
    const KeyCode shift = XKeysymToKeycode(d, XK_Shift_L);
    if (shifted)
        XTestFakeKeyEvent(d, shift, True, CurrentTime);
    XTestFakeKeyEvent(d, code, True, CurrentTime);
    XTestFakeKeyEvent(d, code, False, CurrentTime);
    if (shifted)
        XTestFakeKeyEvent(d, shift, False, CurrentTime);
    XFlush(d);
    return true;
}

void Client::moveTo(int x, int y)
{
    XTestFakeMotionEvent(dpy(m_display), -1, x, y, CurrentTime);
    XFlush(dpy(m_display));
}

void Client::buttonDown(int button)
{
    XTestFakeButtonEvent(dpy(m_display), static_cast<unsigned>(button), True, CurrentTime);
    XFlush(dpy(m_display));
}

void Client::buttonUp(int button)
{
    XTestFakeButtonEvent(dpy(m_display), static_cast<unsigned>(button), False, CurrentTime);
    XFlush(dpy(m_display));
}

void Client::click(int x, int y, int button)
{
    moveTo(x, y);
    buttonDown(button);
    buttonUp(button);
}

void Client::flush() { XFlush(dpy(m_display)); }

void Client::sync() { XSync(dpy(m_display), False); }

std::vector<WindowInfo> Client::windowsOf(pid_t pid)
{
    Display *d = dpy(m_display);
    std::vector<WindowInfo> found;
    Window rootReturn = 0;
    Window parent = 0;
    Window *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(d, m_root, &rootReturn, &parent, &children, &count))
        return found;
    const Atom pidAtom = XInternAtom(d, "_NET_WM_PID", False);
    for (unsigned i = 0; i < count; ++i) {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0;
        unsigned long after = 0;
        unsigned char *data = nullptr;
        if (XGetWindowProperty(d, children[i], pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &items, &after,
                               &data) != Success)
            continue;
        const bool ours = data != nullptr && items == 1 && format == 32 &&
                          static_cast<pid_t>(*reinterpret_cast<unsigned long *>(data)) == pid;
        if (data != nullptr)
            XFree(data);
        if (!ours)
            continue;
        XWindowAttributes a;
        if (!XGetWindowAttributes(d, children[i], &a))
            continue;
        found.push_back({children[i], a.x, a.y, a.width, a.height, a.map_state == IsViewable});
    }
    if (children != nullptr)
        XFree(children);
    return found;
}

bool Client::requestClose(unsigned long window)
{
    Display *d = dpy(m_display);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(d, window, False, NoEventMask, &event);
    XFlush(d);
    return sent != 0;
}

Clock::time_point Client::waitUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout, int pollMs)
{
    Display *d = dpy(m_display);
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        // Re-arm the damage report before looking, so that a change made while we look is reported.
        while (XPending(d) > 0) {
            XEvent event;
            XNextEvent(d, &event);
        }
        if (m_damage != 0)
            XDamageSubtract(d, m_damage, None, None);
        if (done())
            return Clock::now();
        const auto now = Clock::now();
        if (now >= deadline)
            return {};
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count();
        pollfd p{ConnectionNumber(d), POLLIN, 0};
        poll(&p, 1, static_cast<int>(std::min<long long>(left + 1, pollMs)));
    }
}

// --- Processes -------------------------------------------------------------------------------------

pid_t spawn(const std::vector<std::string> &argv, const std::vector<std::string> &environment,
            const std::string &outputFile, bool clean)
{
    std::vector<std::string> env;
    for (char **e = environ; *e != nullptr; ++e) {
        const std::string entry(*e);
        const std::string name = entry.substr(0, entry.find('='));
        bool replaced = false;
        for (const std::string &given : environment)
            replaced = replaced || given.substr(0, given.find('=')) == name;
        if (!replaced && (!clean || name == "PATH"))
            env.push_back(entry);
    }
    env.insert(env.end(), environment.begin(), environment.end());
    std::vector<char *> args;
    for (const std::string &a : argv)
        args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char *> envp;
    for (const std::string &e : env)
        envp.push_back(const_cast<char *>(e.c_str()));
    envp.push_back(nullptr);

    const pid_t pid = fork();
    if (pid == 0) {
        const int out = ::open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out >= 0) {
            dup2(out, 1);
            dup2(out, 2);
        }
        const int devNull = ::open("/dev/null", O_RDONLY);
        if (devNull >= 0)
            dup2(devNull, 0);
        execve(args[0], args.data(), envp.data());
        _exit(127);
    }
    return pid;
}

bool running(pid_t pid)
{
    if (reaped().count(pid) != 0)
        return false;
    int status = 0;
    const pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid) {
        reaped()[pid] = decode(status);
        return false;
    }
    return r == 0;
}

int waitExit(pid_t pid, std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    while (running(pid)) {
        if (Clock::now() >= deadline)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    const auto it = reaped().find(pid);
    return it == reaped().end() ? -1 : it->second;
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace xsession
