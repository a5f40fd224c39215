// The title screen as designed, in twips and 0xBBGGRR.
#pragma once

// Own
#include "platform.h"

// Standard
#include <array>
#include <string_view>

namespace screens::title {

struct StaticLabel {
    const char *name;
    Geometry geometry;
    std::string_view caption;
    quiz::Colour back;
    quiz::Colour text;
    FontSpec font;
};

struct DrivenLabel {   // caption and colours come from the title rules
    Geometry geometry;
    FontSpec font;
};

inline constexpr quiz::Colour kBackground{0xC0FFFF};   // light yellow

inline constexpr std::string_view kAuthorCredit = "Tarvelo team";
inline constexpr std::string_view kGameTitle = "Tarvelo ?";   // also every screen's name to a screen reader

// Listed topmost first, as they are stacked on the screen.
inline constexpr std::array<StaticLabel, 4> kStaticLabels{{
    {"Label3", {2280, 4320, 6615, 375}, "  - : Its for fun and no actual prizes and honours for it : -",
     kBackground, quiz::colours::kRed, {"Arial Narrow", 14.25, 700}},
    {"Label2", {2280, 2880, 3855, 375}, "  Inspired From -  Pravikon ?", kBackground,
     quiz::colours::kWindowText, kDialogFont},
    {"Label1", {2280, 1680, 6255, 495}, kGameTitle, kBackground, quiz::Colour{0x004080},
     {"Arial Black", 14.25, 700}},
    {"lblDesc", {2280, 3600, 2415, 375}, " Written and Developed By : -", kBackground, quiz::colours::kBlue,
     {"Arial Narrow", 11.25, 400}},
}};
inline constexpr DrivenLabel kName{{4920, 3600, 4335, 375}, {"Arial Narrow", 9.75, 400}};   // lblName
inline constexpr DrivenLabel kPress{{2280, 5400, 4695, 735}, kDialogFont};                  // lblPress
inline constexpr DrivenLabel kAbort{{3000, 6120, 2775, 495}, kDialogFont};                  // lblAbort

inline constexpr std::string_view kIcon = ":/pictures/icon.png";

}  // namespace screens::title
