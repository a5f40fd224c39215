// The session bus a desktop login serves at XDG_RUNTIME_DIR/bus is the one a screen reader shares
// with the game, whether or not the login names it in DBUS_SESSION_BUS_ADDRESS.

// Own
#include "e2e.h"

namespace e2e {
namespace {

using LoginBus = E2e;

TEST_F(LoginBus, TheGameJoinsItWhenNoAddressIsNamed)
{
    // Left out, as a login that names no address; and named empty, as a launcher that clears it
    // leaves it.
    for (const char *unnamed : {"DBUS_SESSION_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS="}) {
        SCOPED_TRACE(unnamed);
        driver::Session &s = session({.sessionBus = true});
        driver::Process &game = s.launch({gamePath()}, {unnamed});
        // The game joins the bus as its accessibility starts, before the title's first frame.
        s.waitForScreen(driver::Screen::Title, 10s);
        EXPECT_TRUE(s.onSessionBus(game.pid())) << "the game is not on the bus at " << s.busAddress();
    }
}

// A login without a session bus: the game starts none of its own, though the C library would start
// one through dbus-launch for a program that asks for a bus by default; nobody could reach the game
// on it, and it would stay behind the game.
TEST_F(LoginBus, WithoutOneTheGameStartsNone)
{
    driver::Session &s = session();
    driver::Process &game = s.launch({gamePath()}, {"DBUS_SESSION_BUS_ADDRESS"});
    s.waitForScreen(driver::Screen::Title, 10s);
    s.waitUntilStill();
    const std::vector<pid_t> programs = driver::programsOnRuntime(s.runtimeFolder());
    EXPECT_EQ(programs, std::vector<pid_t>{game.pid()}) << "the game started programs beside it";
}

}  // namespace
}  // namespace e2e
