// The farewell screen as designed, in twips and 0xBBGGRR.
#pragma once

// Own
#include "platform.h"

// Standard
#include <array>
#include <string_view>

namespace screens::farewell {

struct StaticLabel {
    const char *name;
    Geometry geometry;   // Label4's is measured from Frame1's corner
    std::string_view caption;
    quiz::Colour back;
    quiz::Colour text;
    FontSpec font;
};

inline constexpr quiz::Colour kBackground{0xC0C0FF};   // light pink

inline constexpr Geometry kFrame{2760, 4320, 4335, 735};   // Frame1, holds the contact address

// The 34 spaces push the second half of the invitation onto the label's second line.
inline constexpr std::string_view kInvitation =
    " You can send me your views and can get new                                  "
    "questions by sending mail on my e-mail id : -";

inline constexpr StaticLabel kContact{"Label4", {240, 240, 3855, 375}, "         tarvelo@example.org", kBackground,
                                      quiz::colours::kBlue, {"Times New Roman", 11.25, 400}};
// Listed topmost first, as they are stacked on the screen.
inline constexpr std::array<StaticLabel, 3> kLabels{{
    {"Label3", {2280, 3000, 6135, 615}, kInvitation, kBackground, quiz::Colour{0x0040C0},
     {"Times New Roman", 12, 400}},
    {"Label2", {2280, 1920, 4695, 615}, " Have you enjoyed it .....", kBackground, quiz::colours::kMagenta,
     {"Lucida Handwriting", 14.25, 700}},
    {"Label1", {6120, 6240, 2655, 495}, "Takes due care of yourself.......", kBackground,
     quiz::colours::kButtonText, {"Arial", 9, 400}},
}};

}  // namespace screens::farewell
