// The end-to-end tests in one program. --game=PATH tests another build of the game than this one,
// such as the one a package installs.

// Own
#include "e2e.h"
#include "driver/application.h"

// Standard
#include <cstring>

namespace e2e {
namespace {
std::string g_game = TARVELO_GAME;
}  // namespace

const std::string &gamePath() { return g_game; }

}  // namespace e2e

int main(int argc, char *argv[])
{
    driver::Application application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--game=", 7) == 0)
            e2e::g_game = argv[i] + 7;
    return RUN_ALL_TESTS();
}
