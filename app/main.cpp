// Own
#include "screens/accessibility.h"
#include "screens/command_line.h"
#include "screens/desktop_cursor.h"
#include "screens/launch_environment.h"
#include "screens/platform.h"
#include "screens/program_shell.h"
#ifdef TARVELO_FOLLOWS_SCREEN_READER_BY_HAND
#include "screens/screen_reader_switch.h"
#endif
#include "screens/start_failure.h"
#include "screens/system_random.h"

// Qt
#include <QApplication>
#include <QPixmapCache>
#include <QThreadPool>

// Standard
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <optional>

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("tarvelo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TARVELO_VERSION));

    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const screens::CommandLine commandLine = screens::parseCommandLine(arguments);
    switch (commandLine.action) {
    case screens::CommandLine::Action::ShowHelp:
    case screens::CommandLine::Action::ShowVersion:
        std::fputs(qPrintable(commandLine.output), stdout);
        return 0;
    case screens::CommandLine::Action::Refuse:
        std::fprintf(stderr, "%s\n", qPrintable(commandLine.output));
        return screens::kExitUsage;
    case screens::CommandLine::Action::Play:
        break;
    }
    // With plainly no display, Qt is not even tried.
    if (!screens::displayReachable()) {
        std::fprintf(stderr, "%s\n", qPrintable(screens::noDisplayMessage()));
        return screens::kExitNoDisplay;
    }

    // A waiting game must not wake: no session-bus daemon is started for it where none runs (a screen
    // reader reaches the game only through a bus that already runs). Frames reach the X server
    // through shared memory, as Qt does by default: without it a large display's first frame comes
    // later and costs the game a second copy of it (measured by `make bench` at three sizes).
    qputenv("DBUS_SESSION_BUS_ADDRESS", screens::sessionBusAddress(qgetenv("DBUS_SESSION_BUS_ADDRESS"),
                                                                   qgetenv("XDG_RUNTIME_DIR")));
    // Qt 6.8 asks the desktop portal for its version as it starts, for the dialogs and links it would
    // open through it: the game opens neither, and would pay the bus round trip at every start (and
    // start the portal's service where none runs yet). A player's own setting stands.
    if (!qEnvironmentVariableIsSet("QT_NO_XDG_DESKTOP_PORTAL"))
        qputenv("QT_NO_XDG_DESKTOP_PORTAL", "1");

    // The font configuration is read on the second core while this one opens the display. Qt sets
    // the locale from the environment as it starts; setting it first makes that change nothing
    // under the reader's feet.
    std::setlocale(LC_ALL, "");
    screens::FontConfigurationReader fonts;
    if (!screens::platformStartChangesEnvironment())
        fonts.start();

    // The game draws every screen in its own colours, faces and style: a desktop's platform theme
    // gives it nothing it shows, and GTK's, which Qt loads on GNOME, Xfce, MATE, Cinnamon and
    // Unity, costs more than the game's whole start and its memory twice over. A theme the player
    // names in QT_QPA_PLATFORMTHEME is still loaded. What GTK's theme did hand on that a player sees,
    // the pointer's size on a Wayland desktop, followDesktopCursor() takes from the desktop itself.
    QGuiApplication::setDesktopSettingsAware(false);
    screens::StartFailureGuard startFailure;
    startFailure.begin();
    QApplication app(argc, argv);
    if (const std::optional<QString> refusal = startFailure.end()) {
        std::fprintf(stderr, "%s\n", qPrintable(*refusal));
        return screens::kExitNoDisplay;
    }
    fonts.start();
    screens::followDesktopCursor();
    // No timer of Qt's own may tick while the player reads: the pixmap cache's flush and the
    // expiry of idle worker threads would.
    QPixmapCache::setCacheLimit(0);
    QThreadPool::globalInstance()->setExpiryTimeout(-1);
    QApplication::setApplicationDisplayName(QStringLiteral("Tarvelo"));
    QApplication::setDesktopFileName(QStringLiteral("tarvelo"));
    // Before the first screen is built, so that assistive tools learn of every screen.
    screens::installAccessibility();
    screens::installStyle();
#ifdef TARVELO_FOLLOWS_SCREEN_READER_BY_HAND
    const screens::ScreenReaderSwitch screenReaderSwitch;
#endif

    screens::SystemRandom random;
    screens::ProgramShell shell(random);
    shell.start();
    fonts.wait();
    const int status = QApplication::exec();
#ifndef __SANITIZE_ADDRESS__
    // The run is over and nothing is kept: the program ends here rather than take its windows,
    // fonts and connections down one by one, which costs several round trips to the display server;
    // the system frees them all at once. A sanitizer build takes them down, to find what leaks.
    std::fflush(nullptr);
    std::_Exit(status);
#endif
    return status;
}
