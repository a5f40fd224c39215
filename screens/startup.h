// What happens before any window: the command line, and whether a display can be reached at all.
#pragma once

// Qt
#include <QString>
#include <QStringList>

namespace screens {

inline constexpr int kExitUsage = 2;       // an option the program does not know
inline constexpr int kExitNoDisplay = 1;   // no graphical session to open a window on

struct CommandLine {
    enum class Action { Play, ShowHelp, ShowVersion, Refuse };
    Action action = Action::Play;
    QString output;   // what to print: the help, the version, or the one-line error
};

// The arguments after the program's name decide; nothing is read from anywhere else.
CommandLine parseCommandLine(const QStringList &arguments);

// True when a window can be opened: the platform Qt would pick is reachable, or a platform that
// needs no display server was asked for.
bool displayReachable();
QString noDisplayMessage();

}  // namespace screens
