// The bench's verdicts: a figure against the reference's, and a lateness that must never be early.

// Own
#include "bench/judging.h"

// Third party
#include <gtest/gtest.h>

namespace {

using bench::Row;
using bench::judge;
using bench::statsOf;

TEST(Stats, TakeTheMiddleOfTheRunsWhateverTheirOrder)
{
    const bench::Stats odd = statsOf({9, 1, 5});
    EXPECT_EQ(odd.count, 3);
    EXPECT_EQ(odd.min, 1);
    EXPECT_EQ(odd.median, 5);
    EXPECT_EQ(odd.max, 9);
    EXPECT_EQ(statsOf({4, 1, 3, 2}).median, 2.5);
    EXPECT_EQ(statsOf({}).count, 0);
}

TEST(Verdict, ARatioIsOfTheMediansAndMetUpToItsLimit)
{
    const Row row{"startup_ms@1024x768", "start-up", "ms", Row::RatioToReference, 1.10, "median"};
    const bench::Stats reference = statsOf({90, 100, 500});
    EXPECT_EQ(judge(row, statsOf({1, 110, 1000}), reference).met, "met") << "the extremes do not count";
    EXPECT_DOUBLE_EQ(judge(row, statsOf({1, 110, 1000}), reference).ratio, 1.10);
    EXPECT_EQ(judge(row, statsOf({111, 111, 111}), reference).met, "not met");
    EXPECT_EQ(judge(row, statsOf({111}), statsOf({})).met, "") << "no reference, no verdict";
}

TEST(Verdict, AFarewellIsNeverEarlyAndHeldToAFrameOrToTheReference)
{
    const Row frame{"farewell_late_quit_ms@1920x1080", "farewell", "ms", Row::OnTime, 16.7, "median"};
    EXPECT_EQ(judge(frame, statsOf({3, 9, 40}), statsOf({20})).met, "met");
    EXPECT_EQ(judge(frame, statsOf({10, 17, 18}), statsOf({20})).met, "not met");
    EXPECT_EQ(judge(frame, statsOf({-0.5, 5, 6}), statsOf({20})).met, "not met (early)") << "one early run";
    EXPECT_EQ(judge(frame, statsOf({}), statsOf({20})).met, "no runs");

    const Row window{"farewell_late_win_ms@3840x2160", "farewell", "ms", Row::OnTimeAgainstReference, 1.10, "median"};
    const bench::Stats reference = statsOf({50, 60, 70});   // the reference's new window, 60 ms
    const bench::Verdict inTime = judge(window, statsOf({20, 66, 90}), reference);
    EXPECT_EQ(inTime.met, "met");
    EXPECT_DOUBLE_EQ(inTime.ratio, 1.10);
    EXPECT_EQ(inTime.target, "0 to 66.0 (1.10 x ref)");
    EXPECT_EQ(judge(window, statsOf({20, 67, 90}), reference).met, "not met");
}

}  // namespace
