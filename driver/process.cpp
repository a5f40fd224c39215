// Own
#include "process.h"

// Standard
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace driver {
namespace {

std::string nameOf(const std::string &entry) { return entry.substr(0, entry.find('=')); }

int decode(int status)
{
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

}  // namespace

Process::Process(const std::vector<std::string> &argv, const std::vector<std::string> &environment,
                 std::string outputFile)
    : m_outputFile(std::move(outputFile))
{
    // Everything the child needs is built before fork(): between fork and exec a child of a
    // threaded program may only make plain system calls.
    std::vector<char *> args;
    for (const std::string &a : argv)
        args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char *> envp;
    for (const std::string &e : environment)
        envp.push_back(const_cast<char *>(e.c_str()));
    envp.push_back(nullptr);
    m_pid = fork();
    if (m_pid < 0)
        throw std::runtime_error("fork failed");
    if (m_pid == 0) {
        const int out = ::open(m_outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (out >= 0) {
            dup2(out, 1);
            dup2(out, 2);
        }
        const int devNull = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (devNull >= 0)
            dup2(devNull, 0);
        execvpe(args[0], args.data(), envp.data());   // a name without a slash is looked up in PATH
        _exit(127);
    }
}

Process::~Process() { kill(); }

bool Process::running()
{
    if (m_pid <= 0 || m_status >= 0)
        return false;
    int status = 0;
    if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_status = decode(status);
        return false;
    }
    return true;
}

std::chrono::milliseconds patience(std::chrono::milliseconds timeout)
{
    static const long scale = [] {
        const char *named = std::getenv("TARVELO_TIMEOUT_SCALE");
        const long n = named != nullptr ? std::strtol(named, nullptr, 10) : 1;
        return n >= 1 ? n : 1;
    }();
    return timeout * scale;
}

int Process::waitExit(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + patience(timeout);
    while (running()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return m_status;
}

void Process::kill()
{
    if (running()) {
        ::kill(m_pid, SIGKILL);
        waitExit(std::chrono::seconds(10));
    }
}

int Process::terminate(std::chrono::milliseconds grace)
{
    if (running()) {
        ::kill(m_pid, SIGTERM);
        if (waitExit(grace) < 0)
            kill();
    }
    return m_status;
}

std::string Process::output() const { return readFile(m_outputFile); }

std::vector<std::string> composeEnvironment(const std::vector<std::string> &given, bool clean)
{
    // Each name appears once: with two entries of one name a program sees whichever its C library
    // finds first, and that would be the earlier, replaced one.
    std::vector<std::string> chosen;
    for (const std::string &g : given) {
        std::erase_if(chosen, [&g](const std::string &c) { return nameOf(c) == nameOf(g); });
        chosen.push_back(g);
    }
    std::vector<std::string> env;
    for (char **e = environ; *e != nullptr; ++e) {
        const std::string entry(*e);
        bool replaced = false;
        for (const std::string &g : chosen)
            replaced = replaced || nameOf(g) == nameOf(entry);
        if (!replaced && (!clean || nameOf(entry) == "PATH"))
            env.push_back(entry);
    }
    for (const std::string &g : chosen)
        if (g.find('=') != std::string::npos)
            env.push_back(g);
    return env;
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace driver
