// One model of a game on the question screen: random player and platform events, each checked against
// what the screen must show in the phase the game is in. The quiz tests play 100,000 games of it, the
// long run under the sanitizers a million.
#pragma once

// Standard
#include <array>
#include <cstdint>
#include <ostream>
#include <string>

namespace quiz::testing {

// What a batch of games reached, so that a run can show that it met every end and every rule for repeats.
struct GameTotals {
    long games = 0;
    long events = 0;
    long won = 0;
    long lost = 0;
    long quit = 0;
    long pastTheSpares = 0;      // games with an eighth repeated draw
    std::array<long, 4> praise{};   // right answers by praise slot
};

// SplitMix64's finaliser: any seed, however close to another, gives a value unlike the other's. The
// monkey derives its runs' seeds from its base seed with it too.
constexpr std::uint64_t mix(std::uint64_t x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// The seed of game `game` of shard `shard` in a run from `base`; every game of a run has its own.
std::uint64_t gameSeed(std::uint64_t base, int shard, std::uint64_t game);

// Plays the game of `seed` from the screen's load to the farewell screen and checks every event.
// Returns the first rule the game breaks, or "". With `trace`, each event is written there as it is played.
std::string playGame(std::uint64_t seed, GameTotals &totals, std::ostream *trace = nullptr);

}  // namespace quiz::testing
