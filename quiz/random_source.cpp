// Own
#include "random_source.h"

// Standard
#include <algorithm>
#include <cmath>

namespace quiz {

int choose(RandomSource &random, int k)
{
    const double r = random.draw();
    const int pick = static_cast<int>(std::floor(r * k));
    return std::clamp(pick, 0, k - 1);
}

}  // namespace quiz
