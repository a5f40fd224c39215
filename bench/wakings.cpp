// Own
#include "wakings.h"
#include "quiz/title_rules.h"

// Standard
#include <cmath>
#include <cstdlib>
#include <numeric>
#include <sstream>
#include <string>

namespace bench {

long titleBeatMs()
{
    long beat = 1;
    for (const int interval : quiz::kTitleTimerIntervalsMs)
        beat = std::lcm(beat, static_cast<long>(interval));
    return beat;
}

long wholeBeats(double seconds, long beatMs)
{
    const double beats = std::ceil(seconds * 1000.0 / static_cast<double>(beatMs));
    return beats < 1 ? 1 : static_cast<long>(beats);
}

long wokenFromOutside(std::istream &lines, const std::set<long> &threads, double from, double to)
{
    long count = 0;
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream in(line);
        long waker = 0;
        double at = 0;
        if (!(in >> waker >> at) || at < from || at >= to)
            continue;
        // The last " pid=" is the woken thread's: the name before it may hold anything but a newline.
        const std::size_t woken = line.rfind(" pid=");
        if (woken == std::string::npos)
            continue;
        const long target = std::strtol(line.c_str() + woken + 5, nullptr, 10);
        if (threads.count(target) != 0 && threads.count(waker) == 0)
            ++count;
    }
    return count;
}

}  // namespace bench
