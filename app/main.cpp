// Own
#include "screens/platform.h"
#include "screens/program_shell.h"
#include "screens/startup.h"
#include "screens/system_random.h"

// Qt
#include <QApplication>

// Standard
#include <cstdio>

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
    // Checked before Qt tries, which would abort with a stack of platform-plugin messages instead.
    if (!screens::displayReachable()) {
        std::fprintf(stderr, "%s\n", qPrintable(screens::noDisplayMessage()));
        return screens::kExitNoDisplay;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Tarvelo"));
    QApplication::setDesktopFileName(QStringLiteral("tarvelo"));
    screens::installStyle();

    screens::SystemRandom random;
    screens::ProgramShell shell(random);
    shell.start();
    return QApplication::exec();
}
