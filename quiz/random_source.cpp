// Own
#include "random_source.h"

// Standard
#include <cmath>

namespace quiz {

int choose(RandomSource &random, int k)
{
    // Clamped before the conversion, so that even a value outside 0 <= r < 1 picks a valid one.
    const double r = random.draw();
    const double pick = std::floor(r * k);
    if (!(pick >= 0))   // also NaN
        return 0;
    return pick >= k - 1 ? k - 1 : static_cast<int>(pick);
}

}  // namespace quiz
