// Own
#include "startup.h"

// Qt
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

// Standard
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <system_error>

// System
#include <fontconfig/fontconfig.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace screens {
namespace {

QString usageLine() { return QStringLiteral("Usage: %1 [--help] [--version]").arg(QCoreApplication::applicationName()); }

// Whether the X server accepts is left to Qt's own connection: a trial connection of ours would
// cost a round trip at every start, and the server may still be closing it when Qt connects.
bool x11Named() { return !qEnvironmentVariableIsEmpty("DISPLAY"); }

QtMessageHandler g_previousHandler = nullptr;

void platformStartHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(noDisplayMessage()));
        std::_Exit(kExitNoDisplay);
    }
    // The platform plugin's own complaints before that are the same news in Qt's words.
    if (context.category != nullptr && std::strncmp(context.category, "qt.qpa", 6) == 0)
        return;
    g_previousHandler(type, context, message);
}

QtMessageHandler g_repeatNextHandler = nullptr;

struct LastMessage {
    // Held while the message is printed: a second thread with the same news waits until the first
    // line is out, then says nothing. Recursive, in case a handler further on reports a message itself.
    std::recursive_mutex mutex;
    bool any = false;
    QtMsgType type = QtDebugMsg;
    QString text;
};

void sayOnceHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    // Never destroyed: Qt's own objects may still report something while the program exits.
    static auto *last = new LastMessage;
    const std::lock_guard lock(last->mutex);
    if (last->any && type == last->type && message == last->text)
        return;
    last->any = true;
    last->type = type;
    last->text = message;
    g_repeatNextHandler(type, context, message);
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

}  // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A quiz of fifteen questions on computer knowledge. Press any key on the title screen to play, "
        "Esc to leave."));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    parser.addOption(help);
    parser.addOption(version);

    QStringList all{QCoreApplication::applicationName()};
    all += arguments;
    if (!parser.parse(all)) {
        QString error = parser.errorText();
        if (error.endsWith(QLatin1Char('.')))
            error.chop(1);
        return {CommandLine::Action::Refuse,
                QStringLiteral("%1: %2. %3").arg(QCoreApplication::applicationName(), error, usageLine())};
    }
    if (!parser.positionalArguments().isEmpty())
        return {CommandLine::Action::Refuse,
                QStringLiteral("%1: unexpected argument '%2'. %3")
                    .arg(QCoreApplication::applicationName(), parser.positionalArguments().constFirst(), usageLine())};
    if (parser.isSet(help))
        // With no application object yet, the parser cannot know the program's name by itself.
        return {CommandLine::Action::ShowHelp,
                parser.helpText().replace(QLatin1String("<executable_name>"), QCoreApplication::applicationName())};
    if (parser.isSet(version))
        return {CommandLine::Action::ShowVersion,
                QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion())};
    return {};
}

QByteArray sessionBusAddress(const QByteArray &named, const QByteArray &runtimeDirectory)
{
    if (!named.isEmpty())
        return named;
    if (!runtimeDirectory.isEmpty()) {
        const QByteArray socket = runtimeDirectory + "/bus";
        struct stat s {};
        if (stat(socket.constData(), &s) == 0 && S_ISSOCK(s.st_mode))
            return "unix:path=" + socket;
    }
    return "disabled:";
}

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

FontConfigurationReader::~FontConfigurationReader() { wait(); }

void FontConfigurationReader::start()
{
    if (m_started)
        return;
    m_started = true;
    try {
        m_thread = std::thread([this] { m_read = FcInit() == FcTrue; });
    } catch (const std::system_error &) {
        // No thread to be had: Qt reads the configuration itself, as it would without the reader.
    }
}

void FontConfigurationReader::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

bool platformStartChangesEnvironment()
{
    // The X11 platform removes the first, Qt's Wayland start the second.
    return qEnvironmentVariableIsSet("DESKTOP_STARTUP_ID") || qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN");
}

void guardPlatformStart() { g_previousHandler = qInstallMessageHandler(platformStartHandler); }

void platformStarted() { qInstallMessageHandler(g_previousHandler); }

void sayRepeatedMessagesOnce()
{
    if (g_repeatNextHandler == nullptr)
        g_repeatNextHandler = qInstallMessageHandler(sayOnceHandler);
}

}  // namespace screens
