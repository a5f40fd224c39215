// The fixed content of the quiz: 37 questions and the praise messages.
#pragma once

// Standard
#include <array>
#include <string_view>

namespace quiz {

inline constexpr int kBankSize = 37;          // entries 0 .. 36
inline constexpr int kRandomEntries = 30;     // a random draw reaches 0 .. 29 only
inline constexpr int kFirstSpare = 30;        // 30 .. 36 stand in for repeated draws
inline constexpr int kPraiseCount = 5;        // slot 4 repeats slot 3 and is never drawn
inline constexpr int kPraiseDrawn = 4;        // a praise draw picks 0 .. 3

struct BankEntry {
    std::string_view question;                // shown exactly as stored
    std::array<std::string_view, 4> options;  // option n at [n - 1], trimmed of outer spaces when shown
    int correct;                              // 1, 3 or 4
};

// 0 <= index < kBankSize
const BankEntry &bankEntry(int index);
const std::array<BankEntry, kBankSize> &questionBank();
const std::array<std::string_view, kPraiseCount> &praiseMessages();

// The correct option follows the index range alone: 1 for 0..11, 3 for 12..24, 4 for 25..36; 0 outside.
int correctOptionFor(int index);

// Removes the space character, and only that, from both ends.
std::string_view trimSpaces(std::string_view text);

}  // namespace quiz
