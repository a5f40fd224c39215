// How the bench holds a figure to its target: the statistics of its runs, the kinds of target, and
// the verdict on one row. No Qt, so that tests/bench checks it without a display.
#pragma once

// Standard
#include <cmath>
#include <string>
#include <vector>

namespace bench {

struct Stats {
    int count = 0;
    double min = NAN;
    double median = NAN;
    double max = NAN;
};
Stats statsOf(std::vector<double> values);

// A figure of the table and the target it is held to.
struct Row {
    std::string figure;
    std::string label;
    std::string unit;
    enum Kind {
        RatioToReference,         // the game's median against the reference's, at most `limit`
        AtMost,                   // the judged value at most `limit`
        Below,                    // the judged value below `limit`
        OnTime,                   // never early, and the judged value at most `limit` late
        OnTimeAgainstReference,   // never early, and the judged value at most `limit` times the reference's median
        None
    } kind;
    double limit;
    std::string judgedOn;            // "median" or "max"
    std::string referenceFigure{};   // the reference's figure beside it, when not the same one
    std::string referenceProgram{"reference"};   // "game": the game's own figure in other conditions
};

struct Verdict {
    double ratio = NAN;   // of the game to the reference
    std::string target;   // as the table prints it
    double judged = NAN;
    std::string met;      // "met", "not met", "not met (early)", "no runs", or empty for no target
};
Verdict judge(const Row &row, const Stats &game, const Stats &reference);

// A value with `precision` decimals, empty for none.
std::string num(double v, int precision = 3);

}  // namespace bench
