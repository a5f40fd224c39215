// The bench's reading of the idle game: how long an idle window lasts, and which of the kernel's
// scheduler events are wake-ups of the game. Plain C++, tested without a display.
#pragma once

// Standard
#include <istream>
#include <set>

namespace bench {

// The title's timers tick together again after the least common multiple of their intervals.
long titleBeatMs();

// The number of whole beats of `beatMs` that last at least `seconds`; at least one.
long wholeBeats(double seconds, long beatMs);

// In the lines `perf script -F tid,time,trace` prints for sched:sched_waking events
// ("WAKER SECONDS: comm=NAME pid=WOKEN prio=P target_cpu=C", a name may hold spaces), counts the
// wakings of `threads` by a thread that is not one of them, from `from` (included) to `to`
// (excluded), in seconds of the clock perf was given.
long wokenFromOutside(std::istream &lines, const std::set<long> &threads, double from, double to);

}  // namespace bench
