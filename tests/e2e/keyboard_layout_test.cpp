// Answering on a French keyboard, whose digit row types & é " ' without Shift: the key marked 1
// answers option 1, and so on to 4, under X11 and under Wayland alike.

// Own
#include "driver/weston_display.h"
#include "driver/xvfb_display.h"
#include "e2e.h"

// Standard
#include <array>
#include <iostream>
#include <string>

namespace e2e {
namespace {

using driver::Screen;

// The keysyms of the digit row's keys 1 to 4 on a French keyboard, unshifted.
constexpr std::array<const char *, 4> kFrenchDigitRow{"ampersand", "eacute", "quotedbl", "apostrophe"};

// The X server lays its keyboard out as French: the digit row's keycodes carry the French symbols
// unshifted and the digits with Shift, and its XKB names say so to those who read them.
void expectFrenchKeyboard(driver::XvfbDisplay &x)
{
    EXPECT_EQ(x.layoutName(), "fr");
    for (unsigned i = 0; i < kFrenchDigitRow.size(); ++i) {
        EXPECT_EQ(x.keysymOn(10 + i, 0), kFrenchDigitRow[i]) << "keycode " << 10 + i;
        EXPECT_EQ(x.keysymOn(10 + i, 1), std::to_string(i + 1)) << "keycode " << 10 + i << " with Shift";
    }
}

class FrenchKeyboard : public E2e {
protected:
    // A new game for each key: the title, a key, the options shown by Space, then the unshifted
    // key marked with the option's digit. A right and a wrong answer both show the key was taken.
    void answerEachOptionByTheDigitRow(const driver::Session::Options &options)
    {
        for (int option = 1; option <= 4; ++option) {
            SCOPED_TRACE("option " + std::to_string(option));
            driver::Session &s = session(options);
            s.launch({gamePath()});
            s.waitForScreen(Screen::Title, 10s);
            ASSERT_TRUE(s.key("a"));
            s.waitForScreen(Screen::Question, 5s);
            driver::revealOptionsBySpace(s);
            const auto pressed = driver::Clock::now();
            EXPECT_EQ(driver::answerByKey(s, kFrenchDigitRow[option - 1]), option);
            std::cout << kFrenchDigitRow[option - 1] << " answered in " << seconds(driver::Clock::now() - pressed)
                      << " s" << std::endl;
        }
    }
};

TEST_F(FrenchKeyboard, TheDigitRowAnswersOnX11)
{
    const driver::Session::Options options{.keyboardLayout = "fr"};
    expectFrenchKeyboard(dynamic_cast<driver::XvfbDisplay &>(session(options).display()));
    answerEachOptionByTheDigitRow(options);
}

// weston runs in an Xvfb of its own, which takes the keys; weston gives its Wayland clients the
// keymap of that X server's XKB names, French here.
TEST_F(FrenchKeyboard, TheDigitRowAnswersOnWayland)
{
    const driver::Session::Options options{.wayland = true, .waylandInput = true, .keyboardLayout = "fr"};
    driver::XvfbDisplay *host = dynamic_cast<driver::WestonDisplay &>(session(options).display()).host();
    ASSERT_NE(host, nullptr);
    expectFrenchKeyboard(*host);
    answerEachOptionByTheDigitRow(options);
}

}  // namespace
}  // namespace e2e
