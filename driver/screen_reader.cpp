// Own
#include "screen_reader.h"
#include "private_home.h"

// Standard
#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>

namespace driver {
namespace {

// Orca's timestamp, "HH:MM:SS.ffffff - ", and the indent of the lines that carry on its entry.
constexpr std::size_t kIndent = 18;
constexpr std::string_view kSpeech = "SPEECH OUTPUT: '";
// The step Orca names as it begins to listen to the desktop's events, in Orca 43's words and in
// Orca 48's, and whether that Orca keeps what it worked out to say for a while.
struct OrcaListens {
    std::string_view line;
    bool keepsWhatItSays;
};
constexpr std::array<OrcaListens, 2> kOrcaListens = {{{"ORCA: Starting registry", false},
                                                      {"ORCA: Starting Atspi main event loop", true}}};
// Orca acts on a signal only at its next step in Python; speech-dispatcher ends at once.
constexpr auto kGrace = 500ms;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool isTimestamp(std::string_view line)
{
    // "HH:MM:SS.ffffff - "
    constexpr std::string_view shape = "dd:dd:dd.dddddd - ";
    if (line.size() < shape.size())
        return false;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(line[i])) != 0;
        if (shape[i] == 'd' ? !digit : line[i] != shape[i])
            return false;
    }
    return true;
}

bool continuesEntry(std::string_view line)
{
    return line.size() >= kIndent && line.find_first_not_of(' ') >= kIndent;
}

// The text of a speech entry's body, what follows "SPEECH OUTPUT: '", when the body is closed as
// Orca closes it: the text, its apostrophe, then perhaps " voice=NAME" and the voice's settings as
// a {...} group. Nothing when the body is not closed that way (yet).
std::optional<std::string> closedText(std::string_view body)
{
    std::string_view head = body;
    if (!head.empty() && head.back() == '}') {
        int depth = 0;
        for (std::size_t i = head.size(); i-- > 0;) {
            depth += head[i] == '}' ? 1 : head[i] == '{' ? -1 : 0;
            if (depth == 0) {
                head = head.substr(0, i);
                break;
            }
        }
    }
    const std::size_t voice = head.rfind(" voice=");
    if (voice != std::string_view::npos &&
        head.find_first_not_of("abcdefghijklmnopqrstuvwxyz_-", voice + 7) == std::string_view::npos)
        head = head.substr(0, voice);
    while (!head.empty() && head.back() == ' ')
        head.remove_suffix(1);
    if (head.empty() || head.back() != '\'')
        return std::nullopt;
    return std::string(head.substr(0, head.size() - 1));
}

std::string spokenText(std::string_view body)
{
    if (std::optional<std::string> text = closedText(body))
        return *text;
    // Not the shape above: the text runs to the last apostrophe, or to the end without one.
    return std::string(body.substr(0, body.rfind('\'')));
}

// The body of a speech entry (its first line and the lines that carry it on); nothing for an
// entry of another kind.
std::optional<std::string> speechBody(const std::vector<std::string_view> &lines)
{
    const std::string_view first = lines.front();
    if (!isTimestamp(first) || first.substr(kIndent, kSpeech.size()) != kSpeech)
        return std::nullopt;
    std::string body(first.substr(kIndent + kSpeech.size()));
    for (std::size_t i = 1; i < lines.size(); ++i)
        body.append("\n").append(lines[i].substr(kIndent));
    return body;
}

std::string listed(const std::vector<std::string> &utterances)
{
    if (utterances.empty())
        return " nothing";
    std::string text;
    for (const std::string &u : utterances)
        text += "\n    '" + u + "'";
    return text;
}

void writeFile(const std::filesystem::path &path, const std::string &text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

}  // namespace

std::string normalisedSpeech(std::string_view text)
{
    std::string result;
    bool space = false;
    for (const char c : text) {
        if (isSpace(c)) {
            space = !result.empty();
            continue;
        }
        if (space)
            result += ' ';
        space = false;
        result += c;
    }
    return result;
}

void SpeechLog::feed(std::string_view bytes)
{
    m_pending.append(bytes);
    const std::size_t complete = m_pending.rfind('\n');
    if (complete == std::string::npos)
        return;

    // The complete lines, grouped into entries.
    std::vector<std::vector<std::string_view>> entries;
    std::vector<std::size_t> starts;
    const std::string_view text(m_pending);
    for (std::size_t at = 0; at <= complete;) {
        const std::size_t end = text.find('\n', at);
        const std::string_view line = text.substr(at, end - at);
        if (entries.empty() || !continuesEntry(line)) {
            entries.emplace_back();
            starts.push_back(at);
        }
        entries.back().push_back(line);
        at = end + 1;
    }

    // The last entry may go on: a partial line that may still be indented belongs to it, and so may
    // the next line while its text is not closed. It is judged once that is settled.
    const std::string_view rest = text.substr(complete + 1);
    const std::optional<std::string> lastBody = speechBody(entries.back());
    const bool lastGoesOn = rest.empty() ? lastBody && !closedText(*lastBody)
                                         : rest.find_first_not_of(' ') >= std::min(rest.size(), kIndent);
    const std::size_t judged = lastGoesOn ? entries.size() - 1 : entries.size();
    for (std::size_t i = 0; i < judged; ++i)
        if (std::optional<std::string> body = speechBody(entries[i]))
            m_utterances.push_back(spokenText(*body));
    m_pending.erase(0, lastGoesOn ? starts.back() : complete + 1);
}

ScreenReader::ScreenReader(Session &session, std::chrono::milliseconds timeout)
    : m_session(session), m_home(session.homeFolder()), m_debugFile(session.folder() + "/orca-debug.log")
{
    if (session.busAddress().empty())
        throw Failure("a screen reader needs the session's bus (Session::Options::sessionBus)");
    // Speech goes to a sound card that swallows it: without a working audio output
    // speech-dispatcher's module blocks, and Orca waits for it at the first key.
    writeFile(m_home + "/.asoundrc", "pcm.!default { type null }\n");
    writeFile(m_home + "/.config/speech-dispatcher/speechd.conf",
              "AudioOutputMethod \"alsa\"\n"
              "AddModule \"espeak-ng\" \"sd_espeak-ng\" \"espeak-ng.conf\"\n"
              "DefaultModule espeak-ng\n"
              "LogLevel 3\n");
    const auto deadline = Clock::now() + timeout;
    startSpeechDispatcher(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()));
    startOrca(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()));
}

ScreenReader::~ScreenReader()
{
    if (m_orca)
        m_orca->terminate(kGrace);
    if (m_speechDispatcher)
        m_speechDispatcher->terminate(kGrace);
}

std::vector<std::string> ScreenReader::environment() const
{
    // Only the session's display and runtime folder: the caller's settings, language and
    // desktop stay out, so that Orca speaks its defaults in English.
    std::vector<std::string> extra = homeEnvironment(m_home);
    extra.insert(extra.end(),
                 {"DBUS_SESSION_BUS_ADDRESS=" + m_session.busAddress(), "LANG=C.UTF-8", "GDK_BACKEND=x11"});
    return m_session.environment(extra, true);
}

void ScreenReader::startSpeechDispatcher(std::chrono::milliseconds timeout)
{
    // Its own instance (-s), on the session's runtime folder, never ending by itself (-t 0).
    m_speechDispatcher = std::make_unique<Process>(std::vector<std::string>{"speech-dispatcher", "-s", "-t", "0"},
                                                   environment(), m_session.folder() + "/speech-dispatcher.log");
    const std::string socket = m_session.runtimeFolder() + "/speech-dispatcher/speechd.sock";
    const auto deadline = Clock::now() + timeout;
    while (!std::filesystem::exists(socket)) {
        if (!m_speechDispatcher->running())
            fail("speech-dispatcher ended with status " + std::to_string(m_speechDispatcher->waitExit(0ms)) +
                 ": " + m_speechDispatcher->output());
        if (Clock::now() >= deadline)
            fail("speech-dispatcher did not open " + socket + " within " + std::to_string(timeout.count()) + " ms");
        std::this_thread::sleep_for(10ms);
    }
}

void ScreenReader::startOrca(std::chrono::milliseconds timeout)
{
    m_orca = std::make_unique<Process>(
        std::vector<std::string>{"/usr/bin/python3", TARVELO_ORCA_LINE_BUFFERED, "--disable", "braille",
                                 "--debug-file=" + m_debugFile},
        environment(), m_session.folder() + "/orca.log");
    const auto deadline = Clock::now() + timeout;
    const auto listens = [this](const std::string &debug) {
        for (const OrcaListens &orca : kOrcaListens) {
            if (debug.find(orca.line) != std::string::npos) {
                m_orcaKeepsWhatItSays = orca.keepsWhatItSays;
                return true;
            }
        }
        return false;
    };
    while (!listens(readFile(m_debugFile))) {
        if (!m_orca->running())
            fail("Orca ended with status " + std::to_string(m_orca->waitExit(0ms)) + ": " + m_orca->output());
        if (Clock::now() >= deadline)
            fail("Orca did not listen within " + std::to_string(timeout.count()) + " ms: " + m_orca->output());
        std::this_thread::sleep_for(20ms);
    }
}

void ScreenReader::readNewSpeech()
{
    std::ifstream in(m_debugFile, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(m_readBytes));
    std::string bytes(4096, '\0');
    while (in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())) || in.gcount() > 0) {
        const auto got = static_cast<std::size_t>(in.gcount());
        m_log.feed(std::string_view(bytes).substr(0, got));
        m_readBytes += got;
    }
}

std::vector<std::string> ScreenReader::spoken()
{
    readNewSpeech();
    return m_log.utterances();
}

ScreenReader::Mark ScreenReader::mark()
{
    readNewSpeech();
    return m_log.utterances().size();
}

std::vector<std::string> ScreenReader::spokenSince(Mark mark)
{
    readNewSpeech();
    const std::vector<std::string> &all = m_log.utterances();
    return {all.begin() + static_cast<std::ptrdiff_t>(std::min(mark, all.size())), all.end()};
}

std::string ScreenReader::waitFor(const std::string &text, std::chrono::milliseconds timeout, Mark since)
{
    const std::string wanted = normalisedSpeech(text);
    return waitFor([&wanted](const std::string &u) { return u.find(wanted) != std::string::npos; },
                   "'" + wanted + "'", timeout, since);
}

std::string ScreenReader::waitFor(const std::function<bool(const std::string &)> &heard, const std::string &what,
                                  std::chrono::milliseconds timeout, Mark since)
{
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        for (const std::string &utterance : spokenSince(since)) {
            const std::string normalised = normalisedSpeech(utterance);
            if (heard(normalised))
                return normalised;
        }
        if (Clock::now() >= deadline)
            fail("Orca did not speak " + what + " within " + std::to_string(timeout.count()) +
                 " ms; it spoke:" + listed(spokenSince(since)));
        std::this_thread::sleep_for(20ms);
    }
}

void ScreenReader::waitUntilOrcaForgets(std::chrono::milliseconds timeout)
{
    constexpr std::string_view kForgets = "GENERATOR: Clearing cache.";
    const auto times = [&] {
        const std::string debug = readFile(m_debugFile);
        std::size_t n = 0;
        for (std::size_t at = debug.find(kForgets); at != std::string::npos; at = debug.find(kForgets, at + 1))
            ++n;
        return n;
    };
    // Orca 48 forgets every two seconds from the moment it was loaded, and says so from its first
    // time on: a game played fast may come here before that first time.
    if (!m_orcaKeepsWhatItSays)
        return;
    const std::size_t before = times();
    const auto deadline = Clock::now() + timeout;
    while (times() == before) {
        if (Clock::now() >= deadline)
            fail("Orca did not forget what it keeps within " + std::to_string(timeout.count()) + " ms");
        std::this_thread::sleep_for(20ms);
    }
}

void ScreenReader::fail(const std::string &why) { m_session.fail(why + " (Orca's debug file: " + m_debugFile + ")"); }

}  // namespace driver
