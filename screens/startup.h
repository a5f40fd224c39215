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

// False when there is plainly no display to open a window on: no X11 or Wayland display named, or a
// Wayland display named that nothing serves. Costs no connection to an X server.
bool displayReachable();
QString noDisplayMessage();

// While Qt opens its platform, a display that refuses the connection ends the program with
// noDisplayMessage() and kExitNoDisplay, instead of Qt's abort after a stack of plugin messages.
void guardPlatformStart();
void platformStarted();

}  // namespace screens
