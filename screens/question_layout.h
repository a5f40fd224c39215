// The question screen as designed: every control's place, font and tab index, in twips.
// What the controls show at any moment (captions, colours, ticks) is the game's, in quiz/.
#pragma once

// Own
#include "platform.h"

// Standard
#include <array>
#include <string_view>

namespace screens::question {

struct Control {
    Geometry geometry;
    FontSpec font = kDialogFont;
    int tabIndex = -1;   // -1: never takes the focus
};

struct ButtonDesign {
    Control control;
    std::string_view caption;
};

inline constexpr quiz::Colour kBackground = quiz::colours::kWindowText;
inline constexpr quiz::Colour kBoxBack = quiz::colours::kButtonText;
inline constexpr quiz::Colour kBoxText = quiz::colours::kButtonText;

// Listed topmost first, as they are stacked on the screen.
inline constexpr std::array<Control, 4> kBoxes{{
    {{480, 3120, 255, 375}, kDialogFont, 6},    // Check1
    {{3840, 3240, 255, 255}, kDialogFont, 7},   // Check2
    {{480, 4440, 255, 255}, kDialogFont, 8},    // Check3
    {{3840, 4440, 255, 255}, kDialogFont, 9},   // Check4
}};
inline constexpr ButtonDesign kShowOptions{{{2640, 2280, 2055, 375}, kDialogFont, 1}, "Click me to see Options"};
inline constexpr ButtonDesign kQuit{{{8640, 360, 615, 375}, kDialogFont, 3}, "Quit"};
inline constexpr ButtonDesign kLifeline{{{7800, 360, 615, 375}, kDialogFont, 4}, "50-50"};
inline constexpr ButtonDesign kNext{{{7800, 5520, 1095, 735}, {"MS Sans Serif", 9.75, 700}, 2}, "Next Question"};
inline constexpr Control kLifelineUsed{{7560, 360, 975, 375}};
inline constexpr Geometry kSadFace{120, 5760, 855, 765};       // Image4
inline constexpr Geometry kHappyFace{240, 5520, 645, 630};     // Image3
inline constexpr Control kQuestion{{960, 720, 6375, 1095}};
inline constexpr Geometry kQuestionFrame{840, 600, 6570, 1455};   // Image2
inline constexpr std::array<Control, 4> kOptions{{
    {{840, 3240, 2895, 735}},    // lblAnsOne
    {{4200, 3240, 3135, 735}},   // lblAnsTwo
    {{840, 4440, 2895, 735}},    // lblAnsthree
    {{4200, 4320, 3135, 855}},   // lblAnsfour
}};
inline constexpr Geometry kOptionFrames{480, 1920, 7050, 3540};   // Image1
inline constexpr Control kNumber{{360, 720, 495, 615}, {"Arial", 9.75, 700}};
inline constexpr Control kMessage{{1200, 5520, 5895, 855}};

// Where the pictures are found among the program's resources.
inline constexpr std::string_view kOptionFramesPicture = ":/pictures/image1.bmp";
inline constexpr std::string_view kQuestionFramePicture = ":/pictures/image2.bmp";
inline constexpr std::string_view kHappyFacePicture = ":/pictures/image3.bmp";
inline constexpr std::string_view kSadFacePicture = ":/pictures/image4.bmp";

}  // namespace screens::question
