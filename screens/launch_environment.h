// What the game takes from, and sets up in, the environment it is launched in before Qt starts:
// the session bus it shares with a screen reader, and the font configuration read ahead.
#pragma once

// Qt
#include <QByteArray>

// Standard
#include <atomic>
#include <thread>

namespace screens {

// The session bus the game and its screen reader share. A bus already named is kept; otherwise the
// one a desktop login serves at XDG_RUNTIME_DIR/bus, where a socket listens; otherwise none at all
// ("disabled:"), so that no bus daemon is started for a game that nobody on a bus can reach.
QByteArray sessionBusAddress(const QByteArray &named, const QByteArray &runtimeDirectory);

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
