// Chance in the game: choosing among k numbers, and drawing each question without repeating one.

// Own
#include "quiz/question_game.h"
#include "quiz/random_source.h"
#include "quiz_fakes.h"

// Standard
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace quiz {
namespace {

using testing::GameFixture;
using testing::ScriptedRandom;

int chooseWith(double r, int k)
{
    ScriptedRandom random;
    random.queue(r);
    const int pick = choose(random, k);
    EXPECT_EQ(random.calls(), "D") << "one draw and no reseed";
    return pick;
}

TEST(Choose, TakesTheIntegerPartOfRTimesK)
{
    struct Case { double r; int k; int expected; };
    const Case cases[] = {
        {0.0, 30, 0}, {0.5, 30, 15}, {0.999, 30, 29}, {0.1, 30, 3}, {29.5 / 30, 30, 29},
        {0.0, 4, 0}, {0.2499, 4, 0}, {0.25, 4, 1}, {0.5, 4, 2}, {0.7499, 4, 2}, {0.75, 4, 3},
        {0.0, 1, 0}, {0.9, 1, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(chooseWith(c.r, c.k), c.expected) << "r " << c.r << " k " << c.k;
}

TEST(Choose, NeverReachesKJustBelowOneOrFromASourceThatReturnsOne)
{
    const double justBelowOne = std::nextafter(1.0, 0.0);
    const double floatJustBelowOne = static_cast<double>(std::nextafter(1.0f, 0.0f));
    for (int k : {1, 2, 3, 4, 5, 7, 30, 37, 1000, 1 << 20}) {
        EXPECT_EQ(chooseWith(justBelowOne, k), k - 1) << "k " << k;
        EXPECT_EQ(chooseWith(floatJustBelowOne, k), k - 1) << "k " << k;
        EXPECT_EQ(chooseWith(1.0, k), k - 1) << "k " << k;
        EXPECT_EQ(chooseWith(1.5, k), k - 1) << "k " << k;
        EXPECT_EQ(chooseWith(-0.25, k), 0) << "k " << k;
    }
}

TEST(Drawing, FirstQuestionComesFromEntriesZeroToTwentyNine)
{
    struct Case { double r; int entry; };
    const Case cases[] = {{0.0, 0}, {0.5, 15}, {29.0 / 30 - 1e-9, 28}, {std::nextafter(1.0, 0.0), 29}, {1.0, 29}};
    for (const Case &c : cases) {
        SCOPED_TRACE("r " + std::to_string(c.r));
        GameFixture f;
        f.random.queue(c.r);
        f.game.activate();
        EXPECT_EQ(f.index(), c.entry);
        EXPECT_EQ(f.controls().question.caption, bankEntry(c.entry).question);
        EXPECT_EQ(f.controls().number.caption, "1");
        for (int k = 0; k < kBankSize; ++k)
            EXPECT_EQ(f.state().qAsked[static_cast<std::size_t>(k)], k == c.entry) << "qAsked " << k;
    }
}

TEST(Drawing, ReseedsBeforeEachQuestionDrawButNotBeforeAPraiseDraw)
{
    GameFixture f;
    EXPECT_EQ(f.random.calls(), "") << "loading draws nothing";
    f.start(3);
    EXPECT_EQ(f.random.calls(), "SD");
    f.reveal();
    f.answerRight(0.6);
    EXPECT_EQ(f.random.calls(), "SDD");
    f.next(4);
    EXPECT_EQ(f.random.calls(), "SDDSD");
    f.reveal();
    f.answerRight();
    f.next(3);   // a repeat takes a spare without a second draw
    EXPECT_EQ(f.random.calls(), "SDDSDDSD");
    EXPECT_EQ(f.index(), 30);
}

// Question q of a game draws draws[q - 1]; the entries shown must be shown[q - 1].
struct DrawScript {
    const char *name;
    std::vector<int> draws;
    std::vector<int> shown;
};

TEST(Drawing, RepeatsTakeSparesInAscendingOrderThenTheLowestUnaskedEntry)
{
    const DrawScript scripts[] = {
        {"no repeat", {7, 3, 29, 0, 12}, {7, 3, 29, 0, 12}},
        {"repeats among fresh draws", {5, 5, 6, 5, 6, 9}, {5, 30, 6, 31, 32, 9}},
        {"seven repeats use every spare once", {0, 0, 0, 0, 0, 0, 0, 0}, {0, 30, 31, 32, 33, 34, 35, 36}},
        {"eighth repeat takes entry 1", {0, 0, 0, 0, 0, 0, 0, 0, 0}, {0, 30, 31, 32, 33, 34, 35, 36, 1}},
        {"eighth repeat skips asked low entries", {0, 1, 2, 4, 0, 0, 0, 0, 0, 0, 0, 4},
         {0, 1, 2, 4, 30, 31, 32, 33, 34, 35, 36, 3}},
        {"after the spares every repeat takes the lowest unasked", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 5, 2, 7, 2},
         {0, 30, 31, 32, 33, 34, 35, 36, 1, 2, 3, 5, 4, 7, 6}},
        {"a fresh draw after the spares is taken as drawn", {9, 9, 9, 9, 9, 9, 9, 9, 20, 9, 0},
         {9, 30, 31, 32, 33, 34, 35, 36, 20, 0, 1}},
    };
    for (const DrawScript &s : scripts) {
        SCOPED_TRACE(s.name);
        ASSERT_EQ(s.draws.size(), s.shown.size());
        GameFixture f;
        f.start(s.draws[0]);
        std::vector<int> shown{f.index()};
        for (std::size_t q = 1; q < s.draws.size(); ++q) {
            f.rightThenNext(s.draws[q]);
            shown.push_back(f.index());
            EXPECT_EQ(f.controls().question.caption, bankEntry(f.index()).question) << "question " << q + 1;
        }
        EXPECT_EQ(shown, s.shown);
        EXPECT_EQ(f.random.reseeds(), static_cast<int>(s.draws.size()));
        int asked = 0;
        for (bool a : f.state().qAsked)
            asked += a ? 1 : 0;
        EXPECT_EQ(asked, static_cast<int>(s.draws.size()));
        for (int entry : s.shown)
            EXPECT_TRUE(f.state().qAsked[static_cast<std::size_t>(entry)]) << "entry " << entry;
    }
}

}  // namespace
}  // namespace quiz
