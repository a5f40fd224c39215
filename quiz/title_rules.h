// The title screen's and the farewell screen's procedures: the prompts' colour changes and the keys.
#pragma once

// Own
#include "controls.h"
#include "screen_switcher.h"

// Standard
#include <array>
#include <string_view>

namespace quiz {

inline constexpr int kEscape = 27;
inline constexpr int kTitleTimerCount = 4;
// Timer1 and Timer3 tick every 1000 ms, Timer2 and Timer4 every 1500 ms.
inline constexpr std::array<int, kTitleTimerCount> kTitleTimerIntervalsMs{1000, 1500, 1000, 1500};

namespace texts {
inline constexpr std::string_view kPressAnyKey = "Press any key to continue quizzing....";
inline constexpr std::string_view kPressEsc = "Press 'Esc' to Abort Quiz";
}  // namespace texts

struct TitleControls {
    Label press{"", colours::kButtonText, colours::kLightGreen};   // lblPress
    Label abort{"", colours::kButtonText, colours::kLightGreen};   // lblAbort
    Label name{"", colours::kButtonText, Colour{0xC0FFFF}};        // lblName; its caption is the screen's own
    std::array<Timer, kTitleTimerCount> timers;                    // Timer1 .. Timer4 at [0] .. [3]
    friend bool operator==(const TitleControls &, const TitleControls &) = default;
};

class TitleRules {
public:
    explicit TitleRules(ScreenSwitcher &screens) : m_screens(screens) {}

    void load();                       // the screen is created; its timers already run
    void timerFired(int timer);        // 0 <= timer < kTitleTimerCount
    void keyPressed(int characterCode);

    const TitleControls &controls() const { return m_controls; }

private:
    ScreenSwitcher &m_screens;
    TitleControls m_controls;
};

// Any character key on the farewell screen ends the run; the code is not looked at.
inline void farewellKeyPressed(ScreenSwitcher &screens) { screens.endProgram(); }

}  // namespace quiz
