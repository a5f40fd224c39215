// Own
#include "system_random.h"

// Standard
#include <chrono>

namespace screens {

SystemRandom::SystemRandom() { reseed(); }

void SystemRandom::reseed()
{
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch();
    reseedWith(static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

void SystemRandom::reseedWith(std::uint64_t clockTicks)
{
    // The generator's own next output is mixed in with the clock, so that two re-seeds within one
    // tick of a coarse clock still start different sequences.
    const std::uint64_t carried = m_engine();
    std::seed_seq seq{static_cast<std::uint32_t>(clockTicks), static_cast<std::uint32_t>(clockTicks >> 32),
                      static_cast<std::uint32_t>(carried), static_cast<std::uint32_t>(carried >> 32)};
    m_engine.seed(seq);
}

double SystemRandom::draw()
{
    // 53 random bits scaled by 2^-53: always below 1.
    constexpr double kScale = 1.0 / 9007199254740992.0;
    return static_cast<double>(m_engine() >> 11) * kScale;
}

}  // namespace screens
