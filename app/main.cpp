// Own
#include "screens/platform.h"
#include "screens/program_shell.h"
#include "screens/system_random.h"

// Qt
#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tarvelo"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tarvelo"));
    QApplication::setDesktopFileName(QStringLiteral("tarvelo"));
    screens::installStyle();

    screens::SystemRandom random;
    screens::ProgramShell shell(random);
    shell.start();
    return QApplication::exec();
}
