// What happens before any window: the command line, and whether a display can be reached at all.
#pragma once

// Qt
#include <QByteArray>
#include <QString>
#include <QStringList>

// Standard
#include <atomic>
#include <thread>

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

// The session bus the game and its screen reader share. A bus already named is kept; otherwise the
// one a desktop login serves at XDG_RUNTIME_DIR/bus, where a socket listens; otherwise none at all
// ("disabled:"), so that no bus daemon is started for a game that nobody on a bus can reach.
QByteArray sessionBusAddress(const QByteArray &named, const QByteArray &runtimeDirectory);

// While Qt opens its platform, a display that refuses the connection ends the program with
// noDisplayMessage() and kExitNoDisplay, instead of Qt's abort after a stack of plugin messages.
void guardPlatformStart();
void platformStarted();

// From here on, a message said again word for word straight after itself is printed once. Qt's
// Wayland platform reports a lost compositor from its event thread and from the main thread at
// once, each just before it ends the program; the player reads that news in one line. The message
// is out before the call that said it returns, so an end of the program right after loses none.
void sayRepeatedMessagesOnce();

// Reads the system's font configuration on the second core while the first opens the display and
// builds the screens: the title's first frame cannot be drawn without it, and reading it is the
// largest single cost of starting. start() begins once (later calls do nothing); wait() returns
// once the configuration is read, and must be called before the first frame is drawn.
class FontConfigurationReader {
public:
    FontConfigurationReader() = default;
    FontConfigurationReader(const FontConfigurationReader &) = delete;
    FontConfigurationReader &operator=(const FontConfigurationReader &) = delete;
    ~FontConfigurationReader();

    void start();
    void wait();
    bool read() const { return m_read; }   // the configuration has been read by this reader

private:
    std::thread m_thread;
    bool m_started = false;
    std::atomic<bool> m_read = false;
};

// True when Qt's platform start will take a launcher's startup token out of the environment. The
// environment must not change while another thread reads it, so the font configuration is then
// read only after the platform has started.
bool platformStartChangesEnvironment();

}  // namespace screens
