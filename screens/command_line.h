// The game's command line: two options that print and end, and nothing else to ask for.
#pragma once

// Qt
#include <QString>
#include <QStringList>

namespace screens {

inline constexpr int kExitUsage = 2;   // an option the program does not know

struct CommandLine {
    enum class Action { Play, ShowHelp, ShowVersion, Refuse };
    Action action = Action::Play;
    QString output;   // what to print: the help, the version, or the one-line error
};

// The arguments after the program's name decide; nothing is read from anywhere else.
CommandLine parseCommandLine(const QStringList &arguments);

}  // namespace screens
