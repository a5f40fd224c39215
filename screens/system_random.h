// The production random source: a 64-bit Mersenne Twister re-seeded from the high-resolution clock.
#pragma once

// Own
#include "quiz/random_source.h"

// Standard
#include <cstdint>
#include <random>

namespace screens {

class SystemRandom : public quiz::RandomSource {
public:
    SystemRandom();
    void reseed() override;
    double draw() override;

    // The same mixing with a clock reading of the caller's, so that tests can pin the clock.
    void reseedWith(std::uint64_t clockTicks);

private:
    std::mt19937_64 m_engine;
};

}  // namespace screens
