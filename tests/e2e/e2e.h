// The end-to-end tests: the real game under a display of its own, driven as a player drives it.
#pragma once

// Own
#include "driver/images.h"
#include "driver/layout.h"
#include "driver/play.h"
#include "driver/session.h"

#include <gtest/gtest.h>

// Standard
#include <memory>
#include <string>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;

// The game under test: this build's, or the one given with --game=PATH (the packaged game).
const std::string &gamePath();

class E2e : public ::testing::Test {
protected:
    // A session that lives as long as the test; its folder is kept when the test fails.
    driver::Session &session(driver::Session::Options options = {})
    {
        options.name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char &c : options.name)
            c = c == '/' ? '-' : c;
        m_sessions.push_back(std::make_unique<driver::Session>(options));
        return *m_sessions.back();
    }

    void TearDown() override
    {
        if (HasFailure())
            for (auto &s : m_sessions)
                s->keep();
    }

private:
    std::vector<std::unique_ptr<driver::Session>> m_sessions;
};

inline double seconds(driver::Clock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace e2e
