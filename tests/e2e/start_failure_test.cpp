// A game that cannot open its window says in one line what stood in the way and ends with status 1:
// a display that refuses it, a platform that does not exist, a platform plugin missing or unable to
// load, a display with too few colours. Only with no display at all does it point to xvfb-run.

// Own
#include "e2e.h"

// Standard
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace e2e {
namespace {

using driver::Screen;

struct Outcome {
    int status = -1;
    std::vector<std::string> lines;   // everything the game wrote, standard output and error together
    double seconds = 0;
};

// Runs the game with these variables until it ends by itself.
Outcome runToEnd(driver::Session &s, const std::vector<std::string> &extra, const std::string &name,
                 const std::string &program = gamePath())
{
    const auto started = driver::Clock::now();
    driver::Process &game = s.launch({program}, extra, false, name);
    Outcome outcome;
    outcome.status = game.waitExit(10s);
    outcome.seconds = seconds(driver::Clock::now() - started);
    std::istringstream output(game.output());
    for (std::string line; std::getline(output, line);)
        outcome.lines.push_back(line);
    std::cout << name << ": status " << outcome.status << " after " << outcome.seconds << " s" << std::endl;
    for (const std::string &line : outcome.lines)
        std::cout << "  " << line << std::endl;
    return outcome;
}

std::string contentsOf(const std::vector<std::string> &lines)
{
    std::string all;
    for (const std::string &line : lines)
        all += line + "\n";
    return all;
}

// Status 1 and exactly one line, which holds every one of `gist` and no advice to use xvfb-run.
void expectOneLineNaming(const Outcome &outcome, const std::vector<std::string> &gist)
{
    EXPECT_EQ(outcome.status, 1);
    ASSERT_EQ(outcome.lines.size(), 1u) << contentsOf(outcome.lines);
    const std::string &line = outcome.lines.front();
    EXPECT_TRUE(line.starts_with("tarvelo: cannot open a window: ")) << line;
    for (const std::string &part : gist)
        EXPECT_NE(line.find(part), std::string::npos) << "'" << part << "' missing from: " << line;
    EXPECT_EQ(line.find("xvfb-run"), std::string::npos) << "a display is there: " << line;
}

void writeFile(const std::string &path, const std::string &contents)
{
    std::ofstream(path, std::ios::binary) << contents;
}

using StartFailure = E2e;

// The server's own reason comes after Qt's, on the same line; libxcb's two lines of it do not show.
// With the display's cookie the same game opens its title screen: the cookie made the difference.
TEST_F(StartFailure, ARefusedConnectionIsNamedWithTheServersReason)
{
    driver::Session &s = session({.authorization = true});
    const std::string noCookie = s.folder() + "/no-cookie";
    writeFile(noCookie, "");
    expectOneLineNaming(runToEnd(s, {"XAUTHORITY=" + noCookie}, "refused"),
                        {"could not connect to display :", "Authorization required"});

    driver::Process &game = s.launch({gamePath()});
    s.waitForScreen(Screen::Title, 10s);
    s.key("Escape");
    EXPECT_EQ(game.waitExit(5s), 0);
}

// A mistyped platform is named with the platforms there are.
TEST_F(StartFailure, AnUnknownPlatformIsNamedWithThoseAvailable)
{
    driver::Session &s = session();
    expectOneLineNaming(runToEnd(s, {"QT_QPA_PLATFORM=nosuch"}, "unknown-platform"),
                        {"could not find the Qt platform plugin \"nosuch\"", "available platform plugins are:", "xcb"});
}

// QT_PLUGIN_PATH and QT_QPA_PLATFORM_PLUGIN_PATH only add folders to those Qt searches; a qt.conf
// beside the program replaces its plugin folder, here by an empty one.
TEST_F(StartFailure, AMissingPlatformPluginIsNamed)
{
    driver::Session &s = session();
    const std::filesystem::path bin = s.folder() + "/bin";
    std::filesystem::create_directories(bin / "no-plugins");
    const std::filesystem::path game = bin / "tarvelo";
    std::filesystem::copy_file(gamePath(), game);
    writeFile(bin / "qt.conf", "[Paths]\nPlugins=no-plugins\n");
    expectOneLineNaming(runToEnd(s, {}, "missing-plugin", game), {"could not find the Qt platform plugin \"xcb\""});
}

// The X11 plugin is there but a library it needs is not usable: the line names that library, which
// Qt itself tells only in its debug output.
TEST_F(StartFailure, APlatformLibraryThatWillNotLoadIsNamed)
{
    driver::Session &s = session();
    const std::string libraries = s.folder() + "/lib";
    std::filesystem::create_directories(libraries);
    writeFile(libraries + "/libQt6XcbQpa.so.6", "");
    expectOneLineNaming(runToEnd(s, {"LD_LIBRARY_PATH=" + libraries}, "broken-library"),
                        {"could not load the Qt platform plugin \"xcb\"", "libqxcb.so", "libQt6XcbQpa.so.6"});
}

// On 8 bits a pixel Qt paints nothing and complains many times a second; 15 bits are enough.
TEST_F(StartFailure, ADisplayUnder15BitsIsRefusedAnd15BitsAreEnough)
{
    driver::Session &shallow = session({.depth = 8});
    const Outcome refused = runToEnd(shallow, {}, "8-bit");
    expectOneLineNaming(refused, {"8-bit colour", "15-bit"});

    driver::Session &enough = session({.depth = 15});
    driver::Process &game = enough.launch({gamePath()});
    // The driver reads back 24-bit pixels only; here the title's window is enough.
    const auto shown = enough.display().waitUntil(
        [&] {
            for (const driver::WindowInfo &w : enough.display().windowsOf(game.pid()))
                if (w.viewable)
                    return true;
            return !game.running();
        },
        10s, 20ms);
    ASSERT_NE(shown, driver::Clock::time_point{});
    ASSERT_TRUE(game.running()) << "status " << game.waitExit(0ms) << ": " << game.output();
    enough.waitUntilStill();
    enough.key("Escape");
    EXPECT_EQ(game.waitExit(5s), 0);
    EXPECT_EQ(game.output(), "");
}

// What is said while the window system starts is held back until the start has worked, then passed
// on: here Qt's debug line for the X11 plugin it loaded then.
TEST_F(StartFailure, AStartThatWorksPassesOnWhatWasSaidMeanwhile)
{
    driver::Session &s = session();
    driver::Process &game = s.launch({gamePath()}, {"QT_LOGGING_RULES=qt.core.library.debug=true"});
    s.waitForScreen(Screen::Title, 10s);
    s.key("Escape");
    EXPECT_EQ(game.waitExit(5s), 0);
    EXPECT_NE(game.output().find("libqxcb.so\" loaded library"), std::string::npos) << game.output();
}

// Without any display named, the one line says how to run the game on a virtual one.
TEST_F(StartFailure, NoDisplayAtAllPointsToAVirtualDisplay)
{
    driver::Session &s = session();
    const Outcome outcome = runToEnd(s, {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}, "no-display");
    EXPECT_EQ(outcome.status, 1);
    ASSERT_EQ(outcome.lines.size(), 1u) << contentsOf(outcome.lines);
    EXPECT_NE(outcome.lines.front().find("graphical desktop session"), std::string::npos) << outcome.lines.front();
    EXPECT_NE(outcome.lines.front().find("xvfb-run tarvelo"), std::string::npos) << outcome.lines.front();
}

}  // namespace
}  // namespace e2e
