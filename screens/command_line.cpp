// Own
#include "command_line.h"

// Qt
#include <QCommandLineParser>
#include <QCoreApplication>

namespace screens {
namespace {

QString usageLine() { return QStringLiteral("Usage: %1 [--help] [--version]").arg(QCoreApplication::applicationName()); }

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

}  // namespace screens
