// What a session gives the programs it starts: variables given at a launch win over the session's
// own, a program on the X display has no WAYLAND_DISPLAY, and a session bus comes up whatever the
// session's name.

// Own
#include "e2e.h"

// Standard
#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

namespace e2e {
namespace {

using SessionEnvironment = E2e;

// A program is told the session bus by a variable given at its launch; the session's own empty one
// must not stay beside it, where the C library of the program would find it first. A program on the
// X display has no WAYLAND_DISPLAY, not even the caller's or an empty one: the accessibility
// services take any for a Wayland session and then put no keys on the display.
TEST_F(SessionEnvironment, GivenVariablesReplaceTheSessionsOwnAndNoWaylandDisplayIsLeft)
{
    setenv("WAYLAND_DISPLAY", "wayland-of-the-caller", 1);
    driver::Session &s = session({.sessionBus = true});
    const std::vector<std::string> extra{"DBUS_SESSION_BUS_ADDRESS=" + s.busAddress(), "XDG_RUNTIME_DIR=/elsewhere",
                                         "XDG_RUNTIME_DIR=/given-last"};
    for (const bool clean : {false, true}) {
        const std::vector<std::string> env = s.environment(extra, clean);
        const auto entries = [&env](const std::string &name) {
            std::vector<std::string> found;
            std::copy_if(env.begin(), env.end(), std::back_inserter(found),
                         [&name](const std::string &e) { return e.starts_with(name + "="); });
            return found;
        };
        EXPECT_EQ(entries("DBUS_SESSION_BUS_ADDRESS"), std::vector<std::string>{extra[0]}) << "clean " << clean;
        EXPECT_EQ(entries("XDG_RUNTIME_DIR"), std::vector<std::string>{extra[2]}) << "clean " << clean;
        EXPECT_EQ(entries("DISPLAY").size(), 1u) << "clean " << clean;
        EXPECT_EQ(entries("WAYLAND_DISPLAY"), std::vector<std::string>{}) << "clean " << clean;
        for (const std::string &e : env)
            EXPECT_NE(e.find('='), std::string::npos) << "not a variable: " << e;
    }
    unsetenv("WAYLAND_DISPLAY");
    // Without a variable given, the game is left to find the bus by itself.
    const std::vector<std::string> plain = s.environment();
    EXPECT_NE(std::find(plain.begin(), plain.end(), "DBUS_SESSION_BUS_ADDRESS="), plain.end());
}

// The session's folder is named after its test, and the buses' sockets live in it: a long name
// must still leave their paths short enough for a socket.
TEST_F(SessionEnvironment, ALongNameStillGivesASessionBus)
{
    const driver::Session s({.name = std::string(120, 'n'), .sessionBus = true});
    EXPECT_EQ(s.busAddress(), "unix:path=" + s.folder() + "/runtime/bus");
}

}  // namespace
}  // namespace e2e
