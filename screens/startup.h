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
inline constexpr int kExitNoDisplay = 1;   // no window could be opened, whatever the reason
// Below this many bits a pixel, Qt's raster painting has no format to draw the screens in.
inline constexpr int kLeastColourDepth = 15;

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

// What Qt, and the libraries under it, said while the platform failed to start.
struct PlatformStartReport {
    // Qt's messages from the platform plugins and their loader (categories qt.qpa.*), and the
    // critical messages without a category that a plugin gives of its own, in order.
    QStringList messages{};
    QString fatal{};        // Qt's last word before it gives up
    QByteArray rawOutput{};   // written straight to the error output meanwhile (libxcb writes the X server's refusal)
    QString pluginLoadError{};   // why the platform plugin found could not be loaded, when that was looked up
};

// The platform plugin that Qt found but could not load, with nothing said by the plugin itself: then
// only the plugin loader knows why (a library it needs is missing). Empty otherwise.
QString unloadedPlatformPlugin(const PlatformStartReport &report);
// One line naming what failed, in Qt's words where Qt has them; the X server's refusal in its own
// words. Control characters (the refusal comes from the server) are left out.
QString platformStartFailureMessage(const PlatformStartReport &report);
// One line for a display of depth bits a pixel, fewer than kLeastColourDepth.
QString shallowDisplayMessage(int depth);

// While Qt opens its platform, whatever is written to the error output is held back and Qt's messages
// are gathered. A start that fails ends the program with platformStartFailureMessage() and
// kExitNoDisplay, instead of Qt's abort after a stack of messages. platformStarted() passes on what
// was held back; it returns shallowDisplayMessage() instead, and nothing is passed on, when the
// screen's depth is under kLeastColourDepth: the caller then ends with kExitNoDisplay.
void guardPlatformStart();
QString platformStarted();

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
