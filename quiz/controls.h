// What a screen shows, as plain values that the Qt layer draws. No behaviour lives here.
#pragma once

// Standard
#include <array>
#include <cstdint>
#include <string>

namespace quiz {

// 0xBBGGRR, or 0x800000nn: entry nn of the platform's system colours, resolved only when drawn.
struct Colour {
    std::uint32_t value = 0;

    constexpr bool isSystem() const { return (value & 0x80000000u) != 0; }
    constexpr int systemIndex() const { return static_cast<int>(value & 0xFFu); }   // valid when isSystem()
    constexpr int red() const { return static_cast<int>(value & 0xFFu); }
    constexpr int green() const { return static_cast<int>((value >> 8) & 0xFFu); }
    constexpr int blue() const { return static_cast<int>((value >> 16) & 0xFFu); }
    friend constexpr bool operator==(Colour, Colour) = default;
};

namespace colours {
inline constexpr Colour kBlack{0x000000};
inline constexpr Colour kWhite{0xFFFFFF};
inline constexpr Colour kRed{0x0000FF};
inline constexpr Colour kBlue{0xFF0000};
inline constexpr Colour kMagenta{0xFF00FF};
inline constexpr Colour kOrange{0x0080FF};
inline constexpr Colour kLightGreen{0x80FF80};
inline constexpr Colour kWindowText{0x80000008};    // system colour 8
inline constexpr Colour kButtonFace{0x8000000F};    // system colour 15
inline constexpr Colour kButtonText{0x80000012};    // system colour 18
inline constexpr Colour kHighlight3d{0x80000014};   // system colour 20
}  // namespace colours

struct Label {
    std::string caption;
    Colour text = colours::kButtonText;
    Colour back = colours::kButtonText;
    double pointSize = 0;   // 0: the font the control was designed with
    bool visible = true;
    friend bool operator==(const Label &, const Label &) = default;
};

struct CheckBox {
    bool ticked = false;
    bool enabled = true;
    bool visible = true;
    bool usable() const { return enabled && visible; }
    friend bool operator==(const CheckBox &, const CheckBox &) = default;
};

struct Button {
    bool enabled = true;
    bool visible = true;
    bool usable() const { return enabled && visible; }
    friend bool operator==(const Button &, const Button &) = default;
};

struct Picture {
    bool visible = true;
    friend bool operator==(const Picture &, const Picture &) = default;
};

struct Timer {
    bool running = true;   // every timer is enabled when its screen is built
    friend bool operator==(const Timer &, const Timer &) = default;
};

inline constexpr int kOptionCount = 4;

// Everything on the question screen that the game reads or writes; names follow the screen's controls.
struct QuestionControls {
    Label question;                                  // lblQuestion
    std::array<Label, kOptionCount> options;         // lblAnsOne .. lblAnsfour, option n at [n - 1]
    Label number{"", colours::kWhite, colours::kWindowText};    // lblQnum
    Label message{"", colours::kWhite, colours::kWindowText};   // lblTest, the message line
    Label lifelineUsed{"Lifeline Used", colours::kRed, colours::kButtonText};   // lblLifeline
    std::array<CheckBox, kOptionCount> boxes;        // Check1 .. Check4, option n at [n - 1]
    Button showOptions;                              // cmdOptions
    Button lifeline;                                 // cmdLife
    Button next;                                     // cmdNext
    Button quit;                                     // cmdQuit
    Picture optionFrames;                            // Image1
    Picture questionFrame;                           // Image2
    Picture happyFace;                               // Image3
    Picture sadFace;                                 // Image4
    Timer endTimer;                                  // Timer1, one shot of 6000 ms
    friend bool operator==(const QuestionControls &, const QuestionControls &) = default;
};

}  // namespace quiz
