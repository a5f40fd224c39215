// Own
#include "xvfb_display.h"
#include "process.h"

// X
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xauth.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/extensions/Xrandr.h>

// Standard
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <poll.h>
#include <random>
#include <stdexcept>
#include <thread>
#include <unistd.h>
#include <vector>

namespace driver {
namespace {

::Display *dpy(void *d) { return static_cast<::Display *>(d); }

// Waits for the X server's next event, or for `timeout`. An event that Xlib has already read, while
// it waited for the reply to a request, is in its queue and not on the connection: poll() would not
// see it, and the change it reports would wait for the timeout.
void waitForEvent(::Display *d, std::chrono::milliseconds timeout)
{
    if (XEventsQueued(d, QueuedAlready) > 0)
        return;
    pollfd p{ConnectionNumber(d), POLLIN, 0};
    poll(&p, 1, static_cast<int>(timeout.count()));
}

// Xlib reports a request that failed (a window gone between two calls) through this handler; the
// default one ends the process, which must not happen to a driver over a window that just closed.
int ignoreXError(::Display *, XErrorEvent *) { return 0; }

// Before the first call into Xlib: tests may drive two displays from two threads at once.
void initialiseXlib()
{
    static std::once_flag once;
    std::call_once(once, [] {
        XInitThreads();
        XSetErrorHandler(ignoreXError);
    });
}

// A window's property of this type and format (8 or 32 bits an item), at most `length` 32-bit units
// of it, one item an element as Xlib hands them out. Empty when the window has no such property or
// is gone.
std::vector<unsigned long> propertyOf(::Display *d, Window window, Atom property, Atom type, int format, long length)
{
    Atom actualType = 0;
    int actualFormat = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char *data = nullptr;
    std::vector<unsigned long> values;
    if (XGetWindowProperty(d, window, property, 0, length, False, type, &actualType, &actualFormat, &items, &after,
                           &data) == Success &&
        data != nullptr && actualType == type && actualFormat == format) {
        // Xlib gives 32-bit items as longs, whatever the size of a long.
        for (unsigned long i = 0; i < items; ++i)
            values.push_back(format == 32 ? reinterpret_cast<const unsigned long *>(data)[i] : data[i]);
    }
    if (data != nullptr)
        XFree(data);
    return values;
}

constexpr const char *kCookieName = "MIT-MAGIC-COOKIE-1";
constexpr std::size_t kCookieLength = 16;

// A fresh cookie, written as the one entry of an authority file that holds for every display (the
// server's number is known only once it runs): the server reads it at start, its clients find it there.
std::string writeCookie(const std::string &file)
{
    std::random_device random;
    std::string cookie(kCookieLength, '\0');
    for (char &c : cookie)
        c = static_cast<char>(random() & 0xFF);
    static char none[] = "";   // any address, any display number
    Xauth entry{};
    entry.family = FamilyWild;
    entry.address = none;
    entry.number = none;
    entry.name = const_cast<char *>(kCookieName);
    entry.name_length = static_cast<unsigned short>(std::strlen(kCookieName));
    entry.data = cookie.data();
    entry.data_length = static_cast<unsigned short>(cookie.size());
    FILE *out = std::fopen(file.c_str(), "wb");
    const bool written = out != nullptr && XauWriteAuth(out, &entry) != 0;
    const bool closed = out != nullptr && std::fclose(out) == 0;
    if (!written || !closed)
        throw std::runtime_error("cannot write " + file);
    return cookie;
}

constexpr const char *kSystemXkbData = "/usr/share/X11/xkb";
// The root window's XKB names: rules, model, layout, variant and options, in this order.
constexpr const char *kRulesNames = "_XKB_RULES_NAMES";
constexpr std::size_t kRulesNameCount = 5;
constexpr std::size_t kLayoutName = 2;

// XKB data in `folder` in which the layout Xvfb compiles when told none ("us") is `layout`: links
// to the system's data, but for the symbols of "us", which link to those of `layout`.
void linkXkbDataWithLayout(const std::string &layout, const std::string &folder)
{
    namespace fs = std::filesystem;
    const fs::path system(kSystemXkbData);
    if (layout.find('/') != std::string::npos || !fs::is_regular_file(system / "symbols" / layout))
        throw std::runtime_error("no keyboard layout " + layout + " in " + kSystemXkbData);
    fs::create_directories(fs::path(folder) / "symbols");
    for (const auto &entry : fs::directory_iterator(system))
        if (entry.path().filename() != "symbols")
            fs::create_directory_symlink(entry.path(), fs::path(folder) / entry.path().filename());
    for (const auto &entry : fs::directory_iterator(system / "symbols")) {
        const fs::path name = entry.path().filename();
        fs::create_symlink(name == "us" ? system / "symbols" / layout : entry.path(), fs::path(folder) / "symbols" / name);
    }
}

}  // namespace

XvfbDisplay::XvfbDisplay(QSize size, int dpiScale, const std::string &folder)
    : XvfbDisplay(size, dpiScale, folder, Options{})
{
}

XvfbDisplay::XvfbDisplay(QSize size, int dpiScale, const std::string &folder, const Options &options)
    : m_size(options.largest.isEmpty() ? size : options.largest), m_options(options)
{
    if (m_size.width() < size.width() || m_size.height() < size.height())
        throw std::runtime_error("the display's largest size is smaller than its first");
    initialiseXlib();
    if (options.authorization) {
        m_authorityFile = folder + "/xauthority";
        m_cookie = writeCookie(m_authorityFile);
    }
    if (!options.keyboardLayout.empty()) {
        m_xkbFolder = folder + "/xkb";
        linkXkbDataWithLayout(options.keyboardLayout, m_xkbFolder);
    }
    startServer(folder + "/xvfb.log");
    try {
        openClient();
        if (!options.keyboardLayout.empty())
            nameLayout(options.keyboardLayout);
        if (m_size != size && !resize(size))
            throw std::runtime_error("the display did not take its first size through RandR");
        if (dpiScale != 1)
            setResources("Xft.dpi:\t" + std::to_string(96 * dpiScale) + "\n");
    } catch (...) {
        stop();
        throw;
    }
}

XvfbDisplay::~XvfbDisplay() { stop(); }

void XvfbDisplay::startServer(const std::string &logFile)
{
    // Xvfb writes its display number to the pipe once it accepts connections; it keeps only the
    // end it writes to.
    int fds[2];
    if (pipe(fds) != 0)
        throw std::runtime_error("pipe failed");
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    const int toServer = fds[1];
    const std::string geometry = std::to_string(m_size.width()) + "x" + std::to_string(m_size.height()) + "x" +
                                 std::to_string(m_options.depth);
    std::vector<std::string> argv{"Xvfb", "-displayfd", std::to_string(toServer), "-screen", "0", geometry,
                                  "-nolisten", "tcp", "-noreset"};
    if (!m_authorityFile.empty())
        argv.insert(argv.end(), {"-auth", m_authorityFile});
    if (!m_xkbFolder.empty())
        argv.insert(argv.end(), {"-xkbdir", m_xkbFolder});
    // Programs run one after another on one server (the bench alternates the game and the
    // reference). With its C library's default, the server keeps a large block a program freed and
    // hands it to the next request of that size, which must clear it first: each window's
    // frame-sized pixmap, made as the window is first drawn. At 3840x2160 the next program's first
    // frame then reached the screen 20-30 ms later, and which program paid depended on how the one
    // before it had ended. With a fixed threshold every block of a megabyte or more is fresh memory
    // from the system and goes back to it when freed: each program starts as the first one would.
    const std::vector<std::string> serverEnvironment{"MALLOC_MMAP_THRESHOLD_=1048576"};
    try {
        m_server = std::make_unique<Process>(argv, composeEnvironment(serverEnvironment), logFile);
    } catch (...) {
        close(fds[0]);
        close(toServer);
        throw;
    }
    close(toServer);
    std::string number;
    const auto deadline = Clock::now() + 10s;
    while (Clock::now() < deadline) {
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, 100) <= 0)
            continue;
        char c = 0;
        if (read(fds[0], &c, 1) <= 0 || c == '\n')
            break;
        number += c;
    }
    close(fds[0]);
    if (number.empty()) {
        stop();
        throw std::runtime_error("Xvfb did not start: " + readFile(logFile));
    }
    m_name = ":" + number;
}

void XvfbDisplay::openClient()
{
    {
        // Xlib's authorization holds for the whole process: the cookie is set for this connection only,
        // and no other display's connection is opened meanwhile.
        static std::mutex opening;
        const std::lock_guard lock(opening);
        if (!m_cookie.empty())
            XSetAuthorization(const_cast<char *>(kCookieName), static_cast<int>(std::strlen(kCookieName)),
                              m_cookie.data(), static_cast<int>(m_cookie.size()));
        m_display = XOpenDisplay(m_name.c_str());
        if (!m_cookie.empty())
            XSetAuthorization(nullptr, 0, nullptr, 0);
    }
    if (m_display == nullptr)
        throw std::runtime_error("cannot open display " + m_name);
    ::Display *d = dpy(m_display);
    m_root = DefaultRootWindow(d);
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    if (!XTestQueryExtension(d, &event, &error, &major, &minor))
        throw std::runtime_error("the display has no XTest extension");
    if (!XDamageQueryExtension(d, &m_damageEvent, &error))
        throw std::runtime_error("the display has no Damage extension");
    m_damage = XDamageCreate(d, m_root, XDamageReportNonEmpty);
    const int screen = DefaultScreen(d);
    if (DisplayWidth(d, screen) > 0)
        m_millimetresPerPixel = static_cast<double>(DisplayWidthMM(d, screen)) / DisplayWidth(d, screen);
    XSync(d, False);
}

void XvfbDisplay::setResources(const std::string &resources)
{
    // What `xrdb -merge` leaves on a display without resources of its own; Qt reads it at start.
    XChangeProperty(dpy(m_display), m_root, XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char *>(resources.data()), static_cast<int>(resources.size()));
    XSync(dpy(m_display), False);
}

void XvfbDisplay::nameLayout(const std::string &layout)
{
    std::vector<std::string> names = rulesNames();
    names.resize(kRulesNameCount);
    names[kLayoutName] = layout;
    std::string value;
    for (const std::string &name : names)
        value += name + '\0';
    ::Display *d = dpy(m_display);
    XChangeProperty(d, m_root, XInternAtom(d, kRulesNames, False), XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char *>(value.data()), static_cast<int>(value.size()));
    XSync(d, False);
}

std::vector<std::string> XvfbDisplay::rulesNames()
{
    ::Display *d = dpy(m_display);
    const std::vector<unsigned long> bytes =
        propertyOf(d, m_root, XInternAtom(d, kRulesNames, False), XA_STRING, 8, 1024);
    const std::string value(bytes.begin(), bytes.end());
    // Each name is ended by a NUL.
    std::vector<std::string> names;
    for (std::size_t at = 0; at < value.size();) {
        const std::size_t end = std::min(value.find('\0', at), value.size());
        names.push_back(value.substr(at, end - at));
        at = end + 1;
    }
    return names;
}

std::string XvfbDisplay::layoutName()
{
    const std::vector<std::string> names = rulesNames();
    return names.size() > kLayoutName ? names[kLayoutName] : std::string();
}

std::string XvfbDisplay::keysymOn(unsigned keycode, int level)
{
    const KeySym sym = XkbKeycodeToKeysym(dpy(m_display), static_cast<KeyCode>(keycode), 0, level);
    const char *name = sym == NoSymbol ? nullptr : XKeysymToString(sym);
    return name == nullptr ? std::string() : std::string(name);
}

void XvfbDisplay::stop()
{
    if (m_display != nullptr) {
        if (m_damage != 0)
            XDamageDestroy(dpy(m_display), m_damage);
        XCloseDisplay(dpy(m_display));
    }
    m_display = nullptr;
    m_damage = 0;
    if (m_server)
        m_server->terminate(5s);
    m_server.reset();
}

std::vector<std::string> XvfbDisplay::clientEnvironment() const
{
    // No WAYLAND_DISPLAY at all, as in an X login: the accessibility services that the session bus
    // starts take even an empty one for a Wayland session, and then synthesise no keys on X.
    std::vector<std::string> environment{"DISPLAY=" + m_name, "QT_QPA_PLATFORM=xcb", "WAYLAND_DISPLAY"};
    if (!m_authorityFile.empty())
        environment.push_back("XAUTHORITY=" + m_authorityFile);
    return environment;
}

void XvfbDisplay::killServer()
{
    std::unique_ptr<Process> server = std::move(m_server);
    stop();   // closes the driver's connection while the server still answers
    if (server)
        server->kill();
}

QImage XvfbDisplay::grab(const QRect &area)
{
    if (m_display == nullptr)
        throw std::runtime_error("the X server is gone");
    const QRect r = area.intersected(QRect(QPoint(0, 0), m_size));
    if (r.isEmpty())
        return {};
    XImage *image = XGetImage(dpy(m_display), m_root, r.x(), r.y(), static_cast<unsigned>(r.width()),
                              static_cast<unsigned>(r.height()), AllPlanes, ZPixmap);
    if (image == nullptr)
        return {};
    // Xvfb's 24-bit screen holds its pixels as QImage's RGB32 does: copied row by row.
    const bool rgb32 = image->bits_per_pixel == 32 && image->red_mask == 0xFF0000 && image->green_mask == 0xFF00 &&
                       image->blue_mask == 0xFF && image->byte_order == LSBFirst;
    QImage out;
    if (rgb32) {
        out = QImage(r.size(), QImage::Format_RGB32);
        for (int y = 0; y < r.height(); ++y)
            std::copy_n(image->data + y * image->bytes_per_line, 4 * r.width(), out.scanLine(y));
    }
    XDestroyImage(image);
    if (!rgb32)
        throw std::runtime_error("the display's pixels are not 24-bit RGB");
    return out;
}

bool XvfbDisplay::key(const std::string &keysymName)
{
    ::Display *d = dpy(m_display);
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

void XvfbDisplay::moveTo(QPoint at)
{
    XTestFakeMotionEvent(dpy(m_display), -1, at.x(), at.y(), CurrentTime);
    XFlush(dpy(m_display));
}

void XvfbDisplay::button(int button, bool down)
{
    XTestFakeButtonEvent(dpy(m_display), static_cast<unsigned>(button), down ? True : False, CurrentTime);
    XFlush(dpy(m_display));
}

std::vector<WindowInfo> XvfbDisplay::windowsOf(pid_t pid)
{
    std::vector<WindowInfo> found;
    // A reparenting window manager puts each program's window into a frame of its own, some into a
    // frame inside a frame: three levels below the root are as deep as a program's window goes.
    collectWindowsOf(pid, m_root, 3, found);
    return found;
}

void XvfbDisplay::collectWindowsOf(pid_t pid, unsigned long window, int depth, std::vector<WindowInfo> &found)
{
    ::Display *d = dpy(m_display);
    Window rootReturn = 0;
    Window parent = 0;
    Window *children = nullptr;
    unsigned count = 0;
    if (depth == 0 || !XQueryTree(d, window, &rootReturn, &parent, &children, &count))
        return;
    const Atom pidAtom = XInternAtom(d, "_NET_WM_PID", False);
    for (unsigned i = 0; i < count; ++i) {
        const std::vector<unsigned long> owner = propertyOf(d, children[i], pidAtom, XA_CARDINAL, 32, 1);
        const bool labelled = owner.size() == 1;
        const bool ours = labelled && static_cast<pid_t>(owner.front()) == pid;
        XWindowAttributes a;
        int x = 0;
        int y = 0;
        Window child = 0;
        if (ours && XGetWindowAttributes(d, children[i], &a) &&
            XTranslateCoordinates(d, children[i], m_root, 0, 0, &x, &y, &child))
            found.push_back({children[i], QRect(x, y, a.width, a.height), a.map_state == IsViewable});
        else if (!labelled)
            collectWindowsOf(pid, children[i], depth - 1, found);
    }
    if (children != nullptr)
        XFree(children);
}

bool XvfbDisplay::resize(QSize size)
{
    ::Display *d = dpy(m_display);
    int event = 0;
    int error = 0;
    int minWidth = 0;
    int minHeight = 0;
    int maxWidth = 0;
    int maxHeight = 0;
    if (!XRRQueryExtension(d, &event, &error) ||
        !XRRGetScreenSizeRange(d, m_root, &minWidth, &minHeight, &maxWidth, &maxHeight))
        return false;
    if (size.width() < minWidth || size.height() < minHeight || size.width() > maxWidth || size.height() > maxHeight)
        return false;

    XRRScreenResources *resources = XRRGetScreenResources(d, m_root);
    if (resources == nullptr)
        return false;
    XRROutputInfo *output = resources->noutput > 0 ? XRRGetOutputInfo(d, resources, resources->outputs[0]) : nullptr;
    const auto release = [&] {
        if (output != nullptr)
            XRRFreeOutputInfo(output);
        XRRFreeScreenResources(resources);
    };
    if (output == nullptr || (output->crtc == 0 && resources->ncrtc < 1)) {
        release();
        return false;
    }
    RROutput outputId = resources->outputs[0];
    const RRCrtc crtc = output->crtc != 0 ? output->crtc : resources->crtcs[0];

    // Xvfb knows only the mode it started with; every other size is a mode of our own, made once.
    RRMode mode = 0;
    for (int i = 0; i < resources->nmode && mode == 0; ++i) {
        const XRRModeInfo &m = resources->modes[i];
        if (static_cast<int>(m.width) == size.width() && static_cast<int>(m.height) == size.height())
            mode = m.id;
    }
    if (mode == 0) {
        std::string name = std::to_string(size.width()) + "x" + std::to_string(size.height());
        XRRModeInfo info{};
        info.width = static_cast<unsigned>(size.width());
        info.height = static_cast<unsigned>(size.height());
        info.hTotal = info.width;
        info.vTotal = info.height;
        info.dotClock = 60ul * info.width * info.height;   // 60 Hz
        info.name = name.data();
        info.nameLength = static_cast<unsigned>(name.size());
        mode = XRRCreateMode(d, m_root, &info);
    }
    if (std::find(output->modes, output->modes + output->nmode, mode) == output->modes + output->nmode)
        XRRAddOutputMode(d, outputId, mode);

    // The screen holds the monitor at every step: first large enough for the old and the new mode,
    // then the new mode, then the screen cut down to it. The server is grabbed meanwhile, so that
    // no program draws on a screen half changed.
    const auto setScreen = [&](QSize s) {
        XRRSetScreenSize(d, m_root, s.width(), s.height(), static_cast<int>(s.width() * m_millimetresPerPixel + 0.5),
                         static_cast<int>(s.height() * m_millimetresPerPixel + 0.5));
    };
    XGrabServer(d);
    setScreen(m_size.expandedTo(size));
    const Status set = XRRSetCrtcConfig(d, resources, crtc, CurrentTime, 0, 0, mode, RR_Rotate_0, &outputId, 1);
    setScreen(size);
    XUngrabServer(d);
    XSync(d, False);
    release();

    XWindowAttributes root;
    const QSize now = XGetWindowAttributes(d, m_root, &root) ? QSize(root.width, root.height) : m_size;
    const bool done = set == RRSetConfigSuccess && now == size;
    m_size = now;
    return done;
}

bool XvfbDisplay::waitForWindowManager(std::chrono::milliseconds timeout)
{
    ::Display *d = dpy(m_display);
    const auto deadline = Clock::now() + timeout;
    while (!windowManagerNamed()) {
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(10ms);
    }
    // Named, it has taken the display, but a window mapped while it is still starting can be lost
    // (Openbox drops it, and the window never shows). It is ready once it shows a window of ours;
    // the map is asked again while it does not, since the first request may be the one it drops.
    const Window probe = XCreateSimpleWindow(d, m_root, 0, 0, 1, 1, 0, 0, 0);
    bool managed = false;
    while (!managed && Clock::now() < deadline) {
        XMapWindow(d, probe);
        XSync(d, False);
        const auto retry = std::min(deadline, Clock::now() + 100ms);
        while (!managed && Clock::now() < retry) {
            XWindowAttributes a;
            managed = XGetWindowAttributes(d, probe, &a) && a.map_state == IsViewable;
            if (!managed)
                std::this_thread::sleep_for(5ms);
        }
    }
    XDestroyWindow(d, probe);
    XSync(d, False);
    return managed;
}

bool XvfbDisplay::windowManagerNamed()
{
    // An EWMH window manager names a window of its own on the root, which names itself again.
    ::Display *d = dpy(m_display);
    const Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False);
    const auto checkOf = [&](Window w) -> Window {
        const std::vector<unsigned long> named = propertyOf(d, w, check, XA_WINDOW, 32, 1);
        return named.size() == 1 ? static_cast<Window>(named.front()) : 0;
    };
    const Window own = checkOf(m_root);
    return own != 0 && checkOf(own) == own;
}

bool XvfbDisplay::requestClose(unsigned long window)
{
    ::Display *d = dpy(m_display);
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

bool XvfbDisplay::takeDamage()
{
    ::Display *d = dpy(m_display);
    bool damaged = false;
    while (XPending(d) > 0) {
        XEvent event;
        XNextEvent(d, &event);
        damaged = damaged || event.type == m_damageEvent + XDamageNotify;
    }
    // Re-armed before anyone looks, so that a change made while they look is reported.
    XDamageSubtract(d, m_damage, None, None);
    XFlush(d);
    return damaged;
}

Clock::time_point XvfbDisplay::waitUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout,
                                         std::chrono::milliseconds pollInterval)
{
    ::Display *d = dpy(m_display);
    const auto deadline = Clock::now() + patience(timeout);
    for (;;) {
        takeDamage();
        if (done())
            return Clock::now();
        const auto now = Clock::now();
        if (now >= deadline)
            return {};
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now) + 1ms;
        waitForEvent(d, std::min(left, pollInterval));
    }
}

bool XvfbDisplay::waitForQuiet(std::chrono::milliseconds quiet, std::chrono::milliseconds timeout)
{
    ::Display *d = dpy(m_display);
    const auto deadline = Clock::now() + patience(timeout);
    takeDamage();
    auto lastChange = Clock::now();
    for (;;) {
        const auto now = Clock::now();
        if (now >= lastChange + quiet)
            return true;
        if (now >= deadline)
            return false;
        waitForEvent(d, std::chrono::duration_cast<std::chrono::milliseconds>(lastChange + quiet - now) + 1ms);
        if (takeDamage())
            lastChange = Clock::now();
    }
}

}  // namespace driver
