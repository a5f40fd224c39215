// A screen reader listening to a session's display, as a blind player has one: Orca, speaking
// through a speech-dispatcher of the session's own. Both are told the session bus's address and
// keep their settings in the session's home, where the services of its bus keep theirs. What Orca spoke is read back from Orca's
// debug file (FOLDER/orca-debug.log), which stays in the folder when a test fails.
#pragma once

// Own
#include "process.h"
#include "session.h"

// Standard
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace driver {

// Runs of white space made one space, and none at either end: how utterances are compared, since
// the game's texts carry doubled and trailing spaces that speech does not hear.
std::string normalisedSpeech(std::string_view text);

// The utterances in Orca's debug file, read in pieces as Orca writes it. An utterance is a line
//     HH:MM:SS.ffffff - SPEECH OUTPUT: '<text>'[ voice=NAME][{voice settings}]
// whose text may run on over following lines, each indented by 18 spaces (Orca's way of writing a
// line break inside a timestamped entry). The text is taken as written: it may hold apostrophes.
class SpeechLog {
public:
    // Takes the next bytes of the file. An utterance counts once nothing more can belong to it.
    void feed(std::string_view bytes);
    const std::vector<std::string> &utterances() const { return m_utterances; }

private:
    std::string m_pending;   // bytes not yet judged: from the start of the last entry that may go on
    std::vector<std::string> m_utterances;
};

class ScreenReader {
public:
    // Where a stretch of speech begins: the number of utterances spoken before it.
    using Mark = std::size_t;

    // Starts speech-dispatcher, then Orca on the session's display and bus, and returns once Orca
    // listens to the desktop: the game is to be started after that. The session needs its bus
    // (Options::sessionBus). Throws Failure, keeping the session's folder, when either does not
    // come up within timeout.
    explicit ScreenReader(Session &session, std::chrono::milliseconds timeout = 20s);
    ScreenReader(const ScreenReader &) = delete;
    ScreenReader &operator=(const ScreenReader &) = delete;
    // Ends Orca, then speech-dispatcher.
    ~ScreenReader();

    // Every utterance so far, in order, as Orca wrote it.
    std::vector<std::string> spoken();
    Mark mark();
    std::vector<std::string> spokenSince(Mark mark);

    // Waits until an utterance spoken since `since` holds `text` (both compared normalised) and
    // returns that utterance, normalised. Throws Failure listing what was spoken since then.
    std::string waitFor(const std::string &text, std::chrono::milliseconds timeout, Mark since = 0);
    // The same for an utterance that `heard` accepts; `what` names it in the failure's message.
    // `heard` is given utterances normalised.
    std::string waitFor(const std::function<bool(const std::string &)> &heard, const std::string &what,
                        std::chrono::milliseconds timeout, Mark since = 0);

    // Orca 48 keeps what it worked out to say of a control for up to two seconds, and within them
    // says a control whose description has changed as it was; every two seconds it forgets all,
    // and writes so in its debug file. Waits until it next forgets: a player who listened to the
    // last question that long hears the next one as it is. With an Orca that keeps nothing (Orca 43)
    // this returns at once.
    void waitUntilOrcaForgets(std::chrono::milliseconds timeout = 5s);
    const std::string &debugFile() const { return m_debugFile; }

private:
    void readNewSpeech();
    void startSpeechDispatcher(std::chrono::milliseconds timeout);
    void startOrca(std::chrono::milliseconds timeout);
    std::vector<std::string> environment() const;
    [[noreturn]] void fail(const std::string &why);

    Session &m_session;
    std::string m_home;
    std::string m_debugFile;
    std::unique_ptr<Process> m_speechDispatcher;
    std::unique_ptr<Process> m_orca;
    SpeechLog m_log;
    std::size_t m_readBytes = 0;
    bool m_orcaKeepsWhatItSays = false;
};

}  // namespace driver
