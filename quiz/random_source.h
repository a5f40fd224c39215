// The game's only source of chance, injected so that a game can be replayed from a seed.
#pragma once

namespace quiz {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void reseed() = 0;     // start a fresh sequence, as from the clock
    virtual double draw() = 0;     // uniform, 0 <= r < 1
};

// One of 0 .. k - 1, the integer part of r * k; k >= 1. Never k, even for a source that misbehaves.
int choose(RandomSource &random, int k);

}  // namespace quiz
