// A program the driver started, its output sent to a file, and its exit status.
#pragma once

// Standard
#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

namespace driver {

class Process {
public:
    // Starts argv[0] (a path, or a name looked up in PATH) with exactly the given environment.
    Process(const std::vector<std::string> &argv, const std::vector<std::string> &environment,
            std::string outputFile);
    Process(const Process &) = delete;
    Process &operator=(const Process &) = delete;
    ~Process();   // a program still running is killed

    pid_t pid() const { return m_pid; }
    bool running();
    // The exit status once the program has ended: 0..255 as it exited, 128 + the signal that ended
    // it. -1 when it still runs after timeout.
    int waitExit(std::chrono::milliseconds timeout);
    void kill();
    // Asks the program to end (SIGTERM) and kills it when it still runs after grace, for programs
    // that tidy up behind themselves when asked. Returns the exit status.
    int terminate(std::chrono::milliseconds grace);
    std::string output() const;

private:
    pid_t m_pid = -1;
    int m_status = -1;   // set once reaped
    std::string m_outputFile;
};

// How long to wait for what takes at most `timeout` where the game runs natively. Under emulation
// (the game built for another processor, run by qemu) everything takes several times as long:
// TARVELO_TIMEOUT_SCALE, a whole number, says how many; unset, 1. Every wait of the driver for an
// event ends no sooner for it.
std::chrono::milliseconds patience(std::chrono::milliseconds timeout);

// The caller's environment with `given` put in, each replacing a variable of the same name, the
// caller's or an earlier one in `given`; an entry "NAME=" leaves NAME empty, an entry "NAME" without
// '=' leaves it out. With clean, nothing of the caller's is kept but PATH.
std::vector<std::string> composeEnvironment(const std::vector<std::string> &given, bool clean = false);

std::string readFile(const std::string &path);

}  // namespace driver
