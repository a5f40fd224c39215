// A whole scripted game under strace -f, and what its system calls may and may not touch.
//
// The game is played from the title screen through a key, the options, an answer (and Quit, should the
// answer be right), the farewell screen and its key, with HOME set to a folder of its own that holds
// files no quiz has any business with. Then the trace must show that the game
//   - opened for writing, created, renamed or removed nothing outside its session's runtime folder
//     (XDG_RUNTIME_DIR), the user's cache (~/.cache) and the session's temporary folder (TMPDIR);
//   - made no socket but AF_UNIX ones and connected to nothing but the X display;
//   - looked under HOME at nothing but the platform's own configuration and cache paths (fontconfig,
//     Qt, X resources, cursors), never at the user's files and never listing HOME itself;
//   - started no other program;
//   - ended with status 0.
//
// Usage: tarvelo_syscall_check GAME

// Own
#include "driver/application.h"
#include "driver/play.h"
#include "driver/session.h"
#include "screens/question_layout.h"

// Standard
#include <cstdlib>
#include <map>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;
using driver::Screen;
namespace fs = std::filesystem;
namespace question = screens::question;

bool startsWith(const std::string &s, const std::string &prefix) { return s.rfind(prefix, 0) == 0; }

bool under(const std::string &path, const std::string &dir)
{
    return path == dir || startsWith(path, dir + "/");
}

// Paths below HOME that belong to the platform rather than to the user.
bool platformPathInHome(const std::string &path, const std::string &home)
{
    static const std::vector<std::string> kDirectories = {
        ".cache", ".config/fontconfig", ".config/QtProject", ".fontconfig", ".fonts", ".local/share/fonts",
        ".icons", ".local/share/icons",
    };
    static const std::vector<std::string> kFiles = {
        ".config/QtProject.conf", ".config/Trolltech.conf", ".fonts.conf", ".fonts.conf.d", ".Xdefaults",
        ".Xresources", ".Xauthority", ".XCompose",
    };
    for (const std::string &d : kDirectories)
        if (under(path, home + "/" + d))
            return true;
    for (const std::string &f : kFiles)
        if (path == home + "/" + f)
            return true;
    // Xlib's per-host resources: ~/.Xdefaults-HOSTNAME
    return startsWith(path, home + "/.Xdefaults-") && path.find('/', home.size() + 1) == std::string::npos;
}

struct Call {
    std::string line;
    std::string name;
    std::string path;      // the first path argument, made absolute where the trace allows
    std::string rest;      // everything after the path
};

// Parses one line of `strace -f -y` output: "PID name(args) = result".
bool parse(const std::string &line, Call &call)
{
    static const std::regex head(R"(^\d+\s+([a-z0-9_]+)\((.*)$)");
    std::smatch m;
    if (!std::regex_search(line, m, head))
        return false;
    call.line = line;
    call.name = m[1];
    const std::string args = m[2];
    // An *at call names its directory first, printed by -y as 3</its/path> or AT_FDCWD</the/cwd>.
    static const std::regex atDir(R"(^(?:AT_FDCWD|-?\d+)(?:<([^>]*)>)?,\s*\"((?:[^\"\\]|\\.)*)\"(.*)$)");
    static const std::regex plain(R"(^\"((?:[^\"\\]|\\.)*)\"(.*)$)");
    if (std::regex_search(args, m, atDir)) {
        const std::string dir = m[1];
        std::string p = m[2];
        if (!p.empty() && p[0] != '/' && !dir.empty())
            p = dir + "/" + p;
        call.path = p;
        call.rest = m[3];
    } else if (std::regex_search(args, m, plain)) {
        call.path = m[1];
        call.rest = m[2];
    } else {
        call.rest = args;
    }
    // fontconfig writes "dir//file"; compare paths in their plain form.
    std::string clean;
    for (char c : call.path)
        if (!(c == '/' && !clean.empty() && clean.back() == '/'))
            clean += c;
    call.path = clean;
    return true;
}

bool opensForWriting(const Call &c)
{
    if (c.name == "creat")
        return true;
    if (c.name != "open" && c.name != "openat" && c.name != "openat2")
        return false;
    return std::regex_search(c.rest, std::regex(R"(O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND)"));
}

bool changesTheFileSystem(const Call &c)
{
    static const std::set<std::string> kCalls = {
        "mkdir", "mkdirat", "rename", "renameat", "renameat2", "unlink", "unlinkat", "rmdir", "link", "linkat",
        "symlink", "symlinkat", "truncate", "chmod", "fchmodat", "chown", "fchownat", "lchown", "mknod", "mknodat",
        "utimensat", "utimes", "setxattr", "lsetxattr", "removexattr",
    };
    return kCalls.count(c.name) != 0;
}

class Checks {
public:
    void check(bool ok, const std::string &what, const std::vector<std::string> &evidence = {})
    {
        if (ok) {
            ++m_passed;
            std::cout << "PASS: " << what << "\n";
            return;
        }
        ++m_failed;
        std::cout << "FAIL: " << what << "\n";
        for (std::size_t i = 0; i < evidence.size() && i < 20; ++i)
            std::cout << "    " << evidence[i] << "\n";
        if (evidence.size() > 20)
            std::cout << "    ... and " << evidence.size() - 20 << " more\n";
    }
    int finish() const
    {
        std::cout << m_passed << " passed, " << m_failed << " failed" << std::endl;
        return m_failed == 0 ? 0 : 1;
    }
    void fatal(const std::string &why) { check(false, why); }

private:
    int m_passed = 0;
    int m_failed = 0;
};

}  // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::cerr << "usage: " << argv[0] << " GAME\n";
        return 2;
    }
    driver::Application application(argc, argv);
    Checks checks;
    // The game's files go into the session's folder, kept when a check fails.
    driver::Session session({.name = "syscalls"});
    const std::string home = session.folder() + "/home";
    const std::string runtime = session.folder() + "/runtime";
    const std::string tmp = session.folder() + "/tmp";
    fs::create_directories(home + "/Documents");
    fs::create_directories(tmp);
    // The user's own files: nothing of the game may open them, nor list the folder they are in.
    const std::vector<std::string> canaries = {home + "/notes.txt", home + "/Documents/answers.txt"};
    for (const std::string &c : canaries)
        std::ofstream(c) << "the user's own file\n";
    const std::string trace = session.folder() + "/trace.txt";

    int status = -1;
    try {
        std::cout << "game under strace, session folder " << session.folder() << std::endl;
        // The environment of a plain X session, with nothing of the caller's but PATH.
        driver::Process &game = session.launch(
            {"strace", "-f", "-qq", "-y", "-s", "400", "-o", trace, "-e", "trace=%file,%network,%process", argv[1]},
            {"HOME=" + home, "TMPDIR=" + tmp, "LANG=C.UTF-8"}, true);
        session.waitForScreen(Screen::Title, 60s);
        session.key("a");
        session.waitForScreen(Screen::Question, 20s);
        driver::revealOptions(session, 10s);
        // Check1: right for entries 0 to 11, and then the game waits for Quit.
        session.click(question::kBoxes[0].geometry);
        std::this_thread::sleep_for(800ms);
        // "Quit": ignored after a wrong answer, whose own timer ends the game.
        session.click(question::kQuit.control.geometry);
        session.waitForScreen(Screen::Farewell, 20s);
        session.key("a");
        status = game.waitExit(30s);
        if (status < 0)
            session.fail("the game did not end after a key on the farewell screen");
    } catch (const std::exception &e) {
        checks.fatal(std::string("the scripted game could not be played: ") + e.what());
        session.keep();
        return checks.finish();
    }
    checks.check(status == 0, "the game ended with status 0 (it was " + std::to_string(status) + ")");

    std::ifstream in(trace);
    std::string line;
    std::vector<std::string> writes;
    std::vector<std::string> sockets;
    std::vector<std::string> connects;
    std::vector<std::string> homeReads;
    std::vector<std::string> canaryCalls;
    std::vector<std::string> programs;
    std::vector<std::string> attempts;
    std::map<std::string, std::string> pendingExec;   // pid -> program of an execve not yet returned
    bool sawDisplay = false;
    bool sawGame = false;
    int homeLookups = 0;
    long lines = 0;
    static const std::regex xSocket(R"(sun_path=@?\"/tmp/\.X11-unix/X\d+\")");
    while (std::getline(in, line)) {
        ++lines;
        for (const std::string &c : canaries)
            if (line.find(c) != std::string::npos)
                canaryCalls.push_back(line);
        // A call that another thread interrupted ends on a later "<... execve resumed>" line.
        const std::string pid = line.substr(0, line.find(' '));
        Call c;
        const bool parsed = parse(line, c);
        std::string program;
        if (parsed && (c.name == "execve" || c.name == "execveat")) {
            if (line.find("<unfinished ...>") != std::string::npos) {
                pendingExec[pid] = c.path;
                continue;
            }
            program = c.path;
        } else if (line.find("<... execve resumed>") != std::string::npos && pendingExec.count(pid) != 0) {
            program = pendingExec[pid];
            pendingExec.erase(pid);
        }
        if (!program.empty()) {
            const bool succeeded = line.find(") = 0") != std::string::npos;
            if (succeeded && !sawGame)
                sawGame = true;
            else if (succeeded)
                programs.push_back(program);
            else
                attempts.push_back(program);
            continue;
        }
        if (!parsed)
            continue;
        if (c.name == "socket") {
            if (!startsWith(c.rest, "AF_UNIX"))
                sockets.push_back(line);
            continue;
        }
        if (c.name == "connect" || c.name == "sendto" || c.name == "sendmsg") {
            if (line.find("sa_family=") == std::string::npos)
                continue;   // a connected socket's plain send
            if (std::regex_search(line, xSocket))
                sawDisplay = sawDisplay || c.name == "connect";
            else
                connects.push_back(line);
            continue;
        }
        if (c.path.empty())
            continue;
        if (opensForWriting(c) || changesTheFileSystem(c)) {
            const bool allowed = under(c.path, runtime) || under(c.path, tmp) || under(c.path, home + "/.cache") ||
                                 c.path == "/dev/null";
            if (!allowed)
                writes.push_back(line);
        }
        if (under(c.path, home)) {
            ++homeLookups;
            const bool listsHome = c.path == home && (line.find("O_DIRECTORY") != std::string::npos ||
                                                      c.name == "open" || c.name == "openat");
            if (listsHome || (c.path != home && !platformPathInHome(c.path, home)))
                homeReads.push_back(line);
        }
    }

    checks.check(lines > 100 && sawGame, "the trace holds the game's run (" + std::to_string(lines) + " lines)");
    checks.check(sawDisplay, "the game connected to the X display");
    checks.check(homeLookups > 0, "the game looked under the HOME it was given (" + std::to_string(homeLookups) +
                                      " look-ups of platform paths)");
    checks.check(writes.empty(),
                 "nothing opened for writing or changed outside XDG_RUNTIME_DIR, ~/.cache and TMPDIR", writes);
    checks.check(sockets.empty(), "no socket but AF_UNIX ones", sockets);
    checks.check(connects.empty(), "no connection but to the X display", connects);
    checks.check(homeReads.empty(), "nothing under HOME but the platform's configuration and cache paths",
                 homeReads);
    checks.check(canaryCalls.empty(), "the user's own files were never touched", canaryCalls);
    checks.check(programs.empty(), "no other program was started", programs);
    if (!attempts.empty()) {
        std::cout << "note: programs the platform libraries tried to start and did not find:";
        for (const std::string &a : std::set<std::string>(attempts.begin(), attempts.end()))
            std::cout << " " << a;
        std::cout << "\n";
    }
    const int result = checks.finish();
    if (result != 0)
        session.keep();
    return result;
}
