// The bench's idle window and its count of wake-ups, on lines as perf prints them.

// Own
#include "bench/wakings.h"

// Third party
#include <gtest/gtest.h>

// Standard
#include <sstream>

namespace {

TEST(IdleWindow, HoldsWholeBeatsOfTheTitlesTimers)
{
    // 1000 and 1500 ms meet again every 3 s.
    EXPECT_EQ(bench::titleBeatMs(), 3000);
    EXPECT_EQ(bench::wholeBeats(30, 3000), 10);
    EXPECT_EQ(bench::wholeBeats(20, 3000), 7);   // rounded up, never cut short
    EXPECT_EQ(bench::wholeBeats(0.5, 3000), 1);
    EXPECT_EQ(bench::wholeBeats(0, 3000), 1);
}

// One tick of the title, as recorded: the timer wakes the main thread (100) from the idle task, the
// X server (7) wakes the reader thread (101) with its reply, the reader hands it to the main thread.
const char *const kTick = "    0 10.000100: comm=tarvelo pid=100 prio=120 target_cpu=000\n"
                          "    7 10.000400: comm=QXcbEventQueue pid=101 prio=120 target_cpu=001\n"
                          "  101 10.000450: comm=tarvelo pid=100 prio=120 target_cpu=001\n";

long count(const std::string &lines, double from = 0, double to = 100)
{
    std::istringstream in(lines);
    return bench::wokenFromOutside(in, {100, 101, 102}, from, to);
}

TEST(WokenFromOutside, CountsATickAsTheTimerAndTheDisplaysReply)
{
    EXPECT_EQ(count(kTick), 2);
    // A lock the two threads pass between them adds nothing.
    EXPECT_EQ(count(std::string(kTick) + "  100 10.000460: comm=QXcbEventQueue pid=101 prio=120 target_cpu=000\n"), 2);
}

TEST(WokenFromOutside, CountsOnlyTheGamesThreadsInsideTheWindow)
{
    // Another program woken, by anyone, is not the game's wake-up.
    EXPECT_EQ(count("    0 10.5: comm=Xvfb pid=7 prio=120 target_cpu=000\n"
                    "  100 10.6: comm=Xvfb pid=7 prio=120 target_cpu=000\n"),
              0);
    // From the window's start, included, to its end, excluded.
    EXPECT_EQ(count(kTick, 10.000100, 10.000400), 1);
    EXPECT_EQ(count(kTick, 10.000400, 11), 1);
    EXPECT_EQ(count(kTick, 11, 12), 0);
}

TEST(WokenFromOutside, ReadsNamesWithSpacesAndSkipsWhatIsNotAnEvent)
{
    EXPECT_EQ(count("    0 10.2: comm=Thread (pooled) pid=102 prio=120 target_cpu=001\n"
                    "    0 10.3: comm=x pid=99 pid=100 prio=120 target_cpu=001\n"   // the name ends in " pid=99"
                    "\n"
                    "not an event line\n"
                    "    0 10.4: comm=tarvelo prio=120 target_cpu=001\n"),
              2);
}

}  // namespace
