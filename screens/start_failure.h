// Everything about a start that fails, and nothing else: no display to open a window on, a platform
// that Qt cannot start, a screen too shallow to draw in. Each ends the program with one line.
#pragma once

// Qt
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <QtGlobal>

// Standard
#include <optional>

namespace screens {

inline constexpr int kExitNoDisplay = 1;   // no window could be opened, whatever the reason
// Below this many bits a pixel, Qt's raster painting has no format to draw the screens in.
inline constexpr int kLeastColourDepth = 15;

// False when there is plainly no display to open a window on: no X11 or Wayland display named, or a
// Wayland display named that nothing serves. Costs no connection to an X server.
bool displayReachable();
QString noDisplayMessage();

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
// The one line printed for a failed start: what failed, in Qt's words where Qt has them, the X
// server's refusal in its own words. Control characters (the refusal comes from the server) are
// left out. Reads nothing but the report and the program's name.
QString describeStartFailure(const PlatformStartReport &report);
// One line for a display of depth bits a pixel, fewer than kLeastColourDepth.
QString shallowDisplayMessage(int depth);

// Watches the platform's start; one per program, since Qt has one message handler.
//
// From begin() to end(), whatever is written to the error output is held back and Qt's messages
// about its platform are gathered, not printed. Should Qt give up, the program ends with
// describeStartFailure() and kExitNoDisplay instead of Qt's abort after a stack of messages.
// From end() on, the same handler prints a message said again word for word straight after itself
// only once: Qt's Wayland platform reports a lost compositor from its event thread and from the
// main thread at once, each just before it ends the program, and the player reads that news in one
// line. The line is out before the call that said it returns, so an end right after loses none.
class StartFailureGuard {
public:
    StartFailureGuard() = default;
    StartFailureGuard(const StartFailureGuard &) = delete;
    StartFailureGuard &operator=(const StartFailureGuard &) = delete;
    ~StartFailureGuard();   // a start left unfinished gives the error output back with what was held

    void begin();
    // The platform has started: the error output is given back with what was held written to it.
    // On a screen under kLeastColourDepth nothing is passed on and the line to print is returned;
    // the caller then ends with kExitNoDisplay.
    [[nodiscard]] std::optional<QString> end();

private:
    // Qt's message handler while the platform starts and for the rest of the run.
    static void handleMessage(QtMsgType type, const QMessageLogContext &context, const QString &message);
    // Qt gave up: prints describeStartFailure() and ends the program.
    [[noreturn]] void fail(PlatformStartReport report, const QString &fatal);

    void holdOutput();
    QByteArray heldOutput() const;
    void releaseOutput(bool passOn);   // what was held is written to the error output first when passOn
    void closeOutputs();

    // The error output during the start, held in memory until the start is known to have worked:
    // libxcb writes an X server's refusal straight to it, beside Qt's account of the same failure.
    int m_savedOutput = -1;   // the real error output
    int m_heldOutput = -1;    // where it goes meanwhile
    bool m_started = false;   // between begin() and end()
    PlatformStartReport m_report;   // written by the handler, from any thread, under its lock
};

}  // namespace screens
