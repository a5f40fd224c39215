// Own
#include "start_failure.h"

// Qt
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <QJsonArray>
#include <QJsonObject>
#include <QPluginLoader>
#include <QScreen>

// Standard
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

// System
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace screens {
namespace {

// Whether the X server accepts is left to Qt's own connection: a trial connection of ours would
// cost a round trip at every start, and the server may still be closing it when Qt connects.
bool x11Named() { return !qEnvironmentVariableIsEmpty("DISPLAY"); }

// How Qt's plugin loader begins the two messages it gives about a platform plugin; what a plugin
// says of its own comes before them.
const QLatin1String kPluginNotFound("Could not find the Qt platform plugin");
const QLatin1String kPluginNotLoaded("Could not load the Qt platform plugin");
const QLatin1String kAvailablePlugins("Available platform plugins are:");
constexpr qsizetype kLongestRefusal = 200;   // characters of the X server's reason kept

bool fromPluginLoader(const QString &message)
{
    return message.startsWith(kPluginNotFound) || message.startsWith(kPluginNotLoaded);
}

// Where the first message of Qt's plugin loader stands; -1 without one.
qsizetype loaderMessage(const QStringList &messages)
{
    for (qsizetype i = 0; i < messages.size(); ++i)
        if (fromPluginLoader(messages[i]))
            return i;
    return -1;
}

// The platform plugin's own complaint: the last message before the loader's first, or the last of all
// when the loader said nothing. A plugin that could not even be loaded has none.
QString pluginsOwnComplaint(const QStringList &messages)
{
    const qsizetype loader = loaderMessage(messages);
    const qsizetype before = loader < 0 ? messages.size() : loader;
    return before > 0 ? messages[before - 1] : QString();
}

// The platform's name in quotes in a message of the plugin loader.
QString quotedName(const QString &message)
{
    const qsizetype open = message.indexOf(QLatin1Char('"'));
    const qsizetype close = open < 0 ? -1 : message.indexOf(QLatin1Char('"'), open + 1);
    return close < 0 ? QString() : message.mid(open + 1, close - open - 1);
}

// Text from elsewhere made into part of one line: no line breaks, no control characters (a
// terminal would act on those), runs of blanks made one.
QString printable(QString text)
{
    for (QChar &c : text)
        if (!c.isPrint())
            c = QLatin1Char(' ');
    return text.simplified();
}

QString withoutFinalStop(QString text)
{
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

QString lowerInitial(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}

QString firstLineOf(const QByteArray &output)
{
    for (const QByteArray &line : output.split('\n')) {
        const QString text = printable(QString::fromLocal8Bit(line));
        if (!text.isEmpty())
            return text.left(kLongestRefusal);
    }
    return {};
}

// Why the platform plugin with this key will not load, found where Qt looked for it: its file and the
// dynamic linker's words, which name the library missing. Qt's loader has them only in its debug
// output, and its later attempts on the same file give "Unknown error". Only ever asked after a start
// has failed: it reads every platform plugin's metadata.
QString platformPluginLoadError(const QString &key)
{
    QStringList folders;
    const QString extra = qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH");
    if (!extra.isEmpty())
        folders << extra;
    for (const QString &path : QCoreApplication::libraryPaths())
        folders << path + QLatin1String("/platforms");
    for (const QString &folder : folders) {
        for (const QFileInfo &file : QDir(folder).entryInfoList(QDir::Files)) {
            QPluginLoader loader(file.absoluteFilePath());
            const QJsonArray keys = loader.metaData().value(QLatin1String("MetaData")).toObject().value(
                QLatin1String("Keys")).toArray();
            const bool named = std::any_of(keys.begin(), keys.end(), [&key](const QJsonValue &k) {
                return k.toString().compare(key, Qt::CaseInsensitive) == 0;
            });
            if (!named)
                continue;
            const QByteArray path = QFile::encodeName(file.absoluteFilePath());
            if (void *handle = ::dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL)) {
                ::dlclose(handle);
                continue;
            }
            const char *error = ::dlerror();
            return QStringLiteral("%1: %2").arg(file.absoluteFilePath(),
                                                 error != nullptr ? QString::fromLocal8Bit(error) : QString());
        }
    }
    return {};
}

bool waylandReachable()
{
    const QString name = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (name.isEmpty())
        return false;
    const QString path = QDir::isAbsolutePath(name) ? name : qEnvironmentVariable("XDG_RUNTIME_DIR") + QLatin1Char('/') + name;
    const QByteArray socketPath = QFile::encodeName(path);
    sockaddr_un address{};
    if (socketPath.size() >= static_cast<qsizetype>(sizeof address.sun_path))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, socketPath.constData(), static_cast<std::size_t>(socketPath.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool ok = ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

// How Qt begins its report of a display server that went away, on X11 and on Wayland.
const QLatin1String kLostX11Server("The X11 connection broke");
const QLatin1String kLostWaylandCompositor("The Wayland connection broke");

// The guard whose platform is starting, and with it the report the handler writes; none once
// the platform runs.
std::mutex g_startingLock;
StartFailureGuard *g_starting = nullptr;

bool platformStarting()
{
    const std::lock_guard lock(g_startingLock);
    return g_starting != nullptr;
}

// The X server this program drew on has gone: its connection has broken. Asked from any thread.
bool x11ServerLost()
{
    const auto *x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 != nullptr && x11->connection() != nullptr && xcb_connection_has_error(x11->connection()) != 0;
}

// The handler that prints, Qt's own unless another was put in before the guard's.
QtMessageHandler g_nextHandler = nullptr;

struct LastMessage {
    // Held while the message is printed: a second thread with the same news waits until the first
    // line is out, then says nothing. Recursive, in case a handler further on reports a message itself.
    std::recursive_mutex mutex;
    bool any = false;
    QtMsgType type = QtDebugMsg;
    QString text;
};

// Prints a message, unless it is the one printed last.
void sayOnce(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    // Never destroyed: Qt's own objects may still report something while the program exits.
    static auto *last = new LastMessage;
    const std::lock_guard lock(last->mutex);
    if (last->any && type == last->type && message == last->text)
        return;
    last->any = true;
    last->type = type;
    last->text = message;
    g_nextHandler(type, context, message);
}

}  // namespace

bool displayReachable()
{
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (platform.isEmpty())
        return x11Named() || waylandReachable();
    if (platform.startsWith(QLatin1String("xcb")))
        return x11Named();
    if (platform.startsWith(QLatin1String("wayland")))
        return waylandReachable();
    return true;   // offscreen, vnc and the like bring their own surface
}

QString noDisplayMessage()
{
    return QStringLiteral("%1: cannot open a window: Tarvelo needs a graphical desktop session (X11 or Wayland); "
                          "without one, run it on a virtual display, for example: xvfb-run %1")
        .arg(QCoreApplication::applicationName());
}

QString unloadedPlatformPlugin(const PlatformStartReport &report)
{
    const qsizetype loader = loaderMessage(report.messages);
    if (loader < 0 || !report.messages[loader].startsWith(kPluginNotLoaded) ||
        !pluginsOwnComplaint(report.messages).isEmpty())
        return {};
    return quotedName(report.messages[loader]);
}

QString describeStartFailure(const PlatformStartReport &report)
{
    const QString refusal = firstLineOf(report.rawOutput);
    const QString complaint = pluginsOwnComplaint(report.messages);
    const qsizetype loader = loaderMessage(report.messages);
    QString what;
    if (!complaint.isEmpty()) {
        what = withoutFinalStop(complaint);
        if (!refusal.isEmpty())
            what += QStringLiteral(" (%1)").arg(withoutFinalStop(refusal));
    } else if (loader >= 0) {
        // Qt names the folder it was told to look in; an empty name says nothing.
        what = withoutFinalStop(QString(report.messages[loader]).remove(QLatin1String(" in \"\"")));
        if (what.startsWith(kPluginNotLoaded)) {
            what.remove(QLatin1String(" even though it was found"));
            if (!report.pluginLoadError.isEmpty())
                what += QLatin1String(": ") + report.pluginLoadError;
        }
        const qsizetype available = report.fatal.indexOf(kAvailablePlugins);
        if (what.startsWith(kPluginNotFound) && available >= 0)
            what += QLatin1String("; ") + lowerInitial(withoutFinalStop(report.fatal.mid(available).trimmed()));
    } else if (!refusal.isEmpty()) {
        what = refusal;
    } else {
        // Qt's own summary, without its advice to reinstall.
        what = withoutFinalStop(report.fatal.section(QLatin1Char('.'), 0, 0));
        if (printable(what).isEmpty())
            what = QStringLiteral("the window system did not start");
    }
    return printable(QStringLiteral("%1: cannot open a window: %2")
                         .arg(QCoreApplication::applicationName(), lowerInitial(printable(what))));
}

QString shallowDisplayMessage(int depth)
{
    return QStringLiteral("%1: cannot open a window: the display shows %2-bit colour, and Tarvelo draws in "
                          "%3-bit colour or more")
        .arg(QCoreApplication::applicationName(), QString::number(depth), QString::number(kLeastColourDepth));
}

StartFailureGuard::~StartFailureGuard()
{
    if (!m_started)
        return;
    {
        const std::lock_guard lock(g_startingLock);
        g_starting = nullptr;
    }
    releaseOutput(true);
}

void StartFailureGuard::begin()
{
    holdOutput();
    {
        const std::lock_guard lock(g_startingLock);
        m_report = {};
        g_starting = this;
    }
    m_started = true;
    const QtMessageHandler previous = qInstallMessageHandler(handleMessage);
    if (previous != handleMessage)
        g_nextHandler = previous;
}

std::optional<QString> StartFailureGuard::end()
{
    {
        // No thread of the platform reaches this guard any more once the lock is given up.
        const std::lock_guard lock(g_startingLock);
        g_starting = nullptr;
        m_report = {};
    }
    m_started = false;
    // The screen the windows open on; a platform without one has nothing to refuse.
    const QScreen *screen = QGuiApplication::primaryScreen();
    const int depth = screen != nullptr ? screen->depth() : kLeastColourDepth;
    const bool drawable = depth >= kLeastColourDepth;
    releaseOutput(drawable);
    if (drawable)
        return std::nullopt;
    return shallowDisplayMessage(depth);
}

void StartFailureGuard::handleMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const bool platform = context.category != nullptr && std::strncmp(context.category, "qt.qpa", 6) == 0;
    const bool uncategorised = context.category == nullptr || std::strcmp(context.category, "default") == 0;
    // Qt 6.5 and later follow every failed X11 start with advice of their own on a library, in the
    // plugin loader's category: the dynamic linker's words name a missing library already, and
    // on a system that has it the advice would mislead.
    if (platform && std::strcmp(context.category, "qt.qpa.plugin") == 0 && !fromPluginLoader(message))
        return;
    if (type == QtFatalMsg || platform || (uncategorised && type == QtCriticalMsg)) {
        std::unique_lock lock(g_startingLock);
        if (StartFailureGuard *guard = g_starting) {
            if (type == QtFatalMsg) {
                const PlatformStartReport report = guard->m_report;
                lock.unlock();   // what Qt says from here on is dropped with the held output
                guard->fail(report, message);
            }
            guard->m_report.messages << message;
            // The platform plugin's own words are kept for a failure; a start that works does without them.
            if (platform)
                return;
        }
    }
    // Once the X server is gone, what the platform says of the work it was doing (a frame it could
    // not make) is the same news: it is told once, by Qt's report of the loss, below.
    if (platform && x11ServerLost())
        return;
    sayOnce(type, context, message);
    // Qt reports a lost display server as the run's last word and ends the program, with a status
    // that depends on the Qt and the window system; when Xlib finds the loss first, Qt's report
    // comes from inside Xlib's handler, which then prints lines of its own before it ends the
    // program. The player reads the news in one line, and the run ends here with the game's own
    // status for a display it cannot use. (While the platform starts, the output is held and a
    // failure is told as a failed start.)
    if ((message.startsWith(kLostX11Server) || message.startsWith(kLostWaylandCompositor)) && !platformStarting()) {
        std::fflush(nullptr);
        std::_Exit(kExitNoDisplay);
    }
}

void StartFailureGuard::fail(PlatformStartReport report, const QString &fatal)
{
    report.fatal = fatal;
    report.rawOutput = heldOutput();
    const QString plugin = unloadedPlatformPlugin(report);
    if (!plugin.isEmpty())
        report.pluginLoadError = platformPluginLoadError(plugin);
    releaseOutput(false);
    std::fprintf(stderr, "%s\n", qPrintable(describeStartFailure(report)));
    std::_Exit(kExitNoDisplay);
}

void StartFailureGuard::holdOutput()
{
    std::fflush(stderr);
    m_savedOutput = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    if (m_savedOutput < 0)
        return;   // no error output to keep clean
    m_heldOutput = ::memfd_create("tarvelo-start", MFD_CLOEXEC);
    if (m_heldOutput >= 0 && m_heldOutput < 3) {   // the slot of a closed standard stream: move it out of the way
        const int moved = ::fcntl(m_heldOutput, F_DUPFD_CLOEXEC, 3);
        ::close(m_heldOutput);
        m_heldOutput = moved;
    }
    if (m_heldOutput < 0 || ::dup2(m_heldOutput, STDERR_FILENO) < 0)
        closeOutputs();
}

QByteArray StartFailureGuard::heldOutput() const
{
    QByteArray all;
    if (m_heldOutput < 0)
        return all;
    std::fflush(stderr);
    char buffer[4096];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(m_heldOutput, buffer, sizeof buffer, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        all.append(buffer, n);
        at += n;
    }
    return all;
}

void StartFailureGuard::releaseOutput(bool passOn)
{
    if (m_savedOutput < 0)
        return;
    const QByteArray all = passOn ? heldOutput() : QByteArray();
    std::fflush(stderr);
    ::dup2(m_savedOutput, STDERR_FILENO);
    closeOutputs();
    for (qsizetype at = 0; at < all.size();) {
        const ssize_t n = ::write(STDERR_FILENO, all.constData() + at, static_cast<std::size_t>(all.size() - at));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        at += n;
    }
}

void StartFailureGuard::closeOutputs()
{
    if (m_heldOutput >= 0)
        ::close(m_heldOutput);
    if (m_savedOutput >= 0)
        ::close(m_savedOutput);
    m_heldOutput = m_savedOutput = -1;
}

}  // namespace screens
