// Whole games of random player and platform events, each event checked against the model of game_model.h.
//
// The quiz tests play ten shards of 10,000 games from a fixed base seed. The long run (TARVELO_LONG=1, set by
// `make test-long` in the sanitizer build) plays ten shards of 100,000 from a base seed taken from the clock.
// TARVELO_GAMES sets the number of games over all shards and TARVELO_SEED the base seed; each shard prints
// its own. A failure names the seed of its game and lists its events; TARVELO_REPLAY=SEED plays that one
// game again, event by event.

// Own
#include "game_model.h"

// Standard
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace quiz::testing {
namespace {

constexpr int kShards = 10;

std::uint64_t envNumber(const char *name, std::uint64_t fallback)
{
    const char *v = std::getenv(name);
    return v != nullptr && *v != '\0' ? std::strtoull(v, nullptr, 10) : fallback;
}

class RandomGames : public ::testing::TestWithParam<int> {};

TEST_P(RandomGames, EveryEventLeavesTheScreenAsItsPhaseRequiresAndEveryGameReachesTheFarewell)
{
    const int shard = GetParam();
    const bool longRun = envNumber("TARVELO_LONG", 0) != 0;
    const std::uint64_t total = envNumber("TARVELO_GAMES", longRun ? 1'000'000 : 100'000);
    const auto now = static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    const std::uint64_t base = envNumber("TARVELO_SEED", longRun ? now : 1);
    const std::uint64_t games = total / kShards + (static_cast<std::uint64_t>(shard) < total % kShards ? 1 : 0);
    std::cout << "shard " << shard << ": " << games << " games from base seed " << base << " (TARVELO_SEED=" << base
              << " plays them again)" << std::endl;

    GameTotals totals;
    for (std::uint64_t g = 0; g < games; ++g) {
        const std::uint64_t seed = gameSeed(base, shard, g);
        const std::string why = playGame(seed, totals);
        if (!why.empty()) {
            std::ostringstream events;
            GameTotals again;
            playGame(seed, again, &events);
            ADD_FAILURE() << "game seed " << seed << " (TARVELO_REPLAY=" << seed << " plays it again): " << why
                          << "\nits events:\n" << events.str();
            return;
        }
    }
    std::cout << "shard " << shard << ": " << totals.games << " games, " << totals.events << " events; won "
              << totals.won << ", lost " << totals.lost << ", quit " << totals.quit << "; games past the seventh repeat "
              << totals.pastTheSpares << std::endl;
    EXPECT_EQ(totals.games, static_cast<long>(games));

    // A shard of this size reaches every end of a game and the rule past the spares, and its praise is fair.
    if (games >= 10'000) {
        const long few = static_cast<long>(games / 100);
        EXPECT_GT(totals.won, few);
        EXPECT_GT(totals.lost, few);
        EXPECT_GT(totals.quit, few);
        EXPECT_GT(totals.pastTheSpares, few);
        const auto &p = totals.praise;
        const double expected = static_cast<double>(p[0] + p[1] + p[2] + p[3]) / 4;
        double chi2 = 0;
        for (long n : p)
            chi2 += std::pow(static_cast<double>(n) - expected, 2) / expected;
        EXPECT_LT(chi2, 30.66) << "praise slots drawn " << p[0] << ", " << p[1] << ", " << p[2] << ", " << p[3];   // p = 1e-6 at 3 degrees of freedom
    }
}

INSTANTIATE_TEST_SUITE_P(Shards, RandomGames, ::testing::Range(0, kShards));

TEST(RandomGamesReplay, PlaysTheGameNamedInTheEnvironmentAgainEventByEvent)
{
    const std::uint64_t seed = envNumber("TARVELO_REPLAY", 0);
    if (seed == 0)
        GTEST_SKIP() << "TARVELO_REPLAY is not set";
    GameTotals totals;
    EXPECT_EQ(playGame(seed, totals, &std::cout), "");
}

}  // namespace
}  // namespace quiz::testing
