// A session leaves nothing running behind it, not even a program that one of its programs left
// behind and that is no child of the driver (as the services its bus starts on demand are not).

// Own
#include "e2e.h"

// Standard
#include <thread>

namespace e2e {
namespace {

TEST(SessionEnd, NothingStartedInASessionOutlivesIt)
{
    std::string runtime;
    {
        driver::Session s(driver::Session::Options{.name = "leftovers"});
        runtime = s.runtimeFolder();
        // sh starts sleep in a session of its own and leaves at once.
        driver::Process &starter = s.launch({"sh", "-c", "setsid sleep 300 >/dev/null 2>&1 &"}, {}, false, "starter");
        ASSERT_EQ(starter.waitExit(5s), 0);
        // One look decides: a second could fall while sleep is exec()ed, when it shows no environment.
        const auto deadline = driver::Clock::now() + 5s;
        std::vector<pid_t> found;
        while ((found = driver::programsOnRuntime(runtime)).empty() && driver::Clock::now() < deadline)
            std::this_thread::sleep_for(10ms);
        ASSERT_EQ(found.size(), 1u) << "the program left behind is not found";
    }
    EXPECT_TRUE(driver::programsOnRuntime(runtime).empty()) << "a program outlived its session";
}

}  // namespace
}  // namespace e2e
