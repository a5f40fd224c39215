// The fixed content of the quiz: question texts, options, correct options and praise messages.

// Own
#include "quiz/question_bank.h"
#include "quiz_fakes.h"

// Standard
#include <array>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace quiz {
namespace {

using testing::expectedCorrect;

struct QuotedEntry {
    int index;
    std::string_view question;
    std::array<std::string_view, 4> options;
};

// Entries whose texts carry something easy to lose: a trailing space, an ampersand, the longest text.
constexpr QuotedEntry kQuoted[] = {
    {0, " RAM stands for ..",
     {"1. Random Access Memory", "2. Rapid Access Memory", "3. Repairable Access Memory", "4. Recoverable Access Memory"}},
    {10, " ISDN stands for .... ",
     {"1. Integrated Services Digital Network", "2. Integrated Socket Digital Network",
      "3. Integrated Server Digital Network", "4. Integrated Service Digital Network"}},
    {16, " Which one of the following Programming Language was developed by Quendrik at AT and T Bell Labs?",
     {"1. BASIC", "2. C", "3. C++", "4. JAVA"}},
    {23, " In Excel a formula is always starts with .... sign.", {"1. +", "2. $", "3. =", "4. &"}},
    {24,
     " Which one of the following are special kind of stored procedures that are fired automatically when an "
     "insert, delete or an update takes place in a specied table?",
     {"1. Strings", "2. T-Procedures", "3. Triggers", "4. Defaults"}},
    {27, " Table consist of ....... ", {"1. Rows and Records", "2. Colums and Fields", "3. Columns and Lines", "4. Rows and Columns"}},
    {36, " An organised collection of data is ....", {"1. Record", "2. File", "3. Character", "4. Database"}},
};

TEST(Bank, HoldsTheQuotedTextsCharacterForCharacter)
{
    ASSERT_EQ(questionBank().size(), 37u);
    for (const QuotedEntry &quoted : kQuoted) {
        SCOPED_TRACE("entry " + std::to_string(quoted.index));
        const BankEntry &entry = bankEntry(quoted.index);
        EXPECT_EQ(entry.question, quoted.question);
        for (std::size_t n = 0; n < 4; ++n)
            EXPECT_EQ(entry.options[n], quoted.options[n]) << "option " << n + 1;
    }
}

TEST(Bank, EntryTwentyFourHasTheLongestQuestion)
{
    const std::size_t longest = bankEntry(24).question.size();
    for (int k = 0; k < kBankSize; ++k) {
        if (k != 24) {
            EXPECT_LT(bankEntry(k).question.size(), longest) << "entry " << k;
        }
    }
}

TEST(Bank, CorrectOptionFollowsTheIndexRangeAndIsNeverTwo)
{
    for (int k = 0; k < kBankSize; ++k) {
        SCOPED_TRACE("entry " + std::to_string(k));
        EXPECT_EQ(bankEntry(k).correct, expectedCorrect(k));
        EXPECT_EQ(correctOptionFor(k), expectedCorrect(k));
        EXPECT_NE(bankEntry(k).correct, 2);
    }
    // The range bounds themselves, and indices outside the bank, which have no correct option.
    const std::array<std::pair<int, int>, 8> bounds{{{0, 1}, {11, 1}, {12, 3}, {24, 3}, {25, 4}, {36, 4}, {-1, 0}, {37, 0}}};
    for (const auto &[index, correct] : bounds)
        EXPECT_EQ(correctOptionFor(index), correct) << "index " << index;
}

TEST(Bank, OptionCaptionsBeginWithTheirNumberAndHaveNoOuterSpaces)
{
    for (int k = 0; k < kBankSize; ++k) {
        for (int n = 1; n <= 4; ++n) {
            const std::string_view caption = bankEntry(k).options[static_cast<std::size_t>(n - 1)];
            SCOPED_TRACE("entry " + std::to_string(k) + " option " + std::to_string(n) + ": \"" + std::string(caption) + "\"");
            ASSERT_GE(caption.size(), 4u);
            EXPECT_EQ(caption.substr(0, 3), std::to_string(n) + ". ");
            EXPECT_NE(caption.back(), ' ');
        }
    }
}

TEST(Bank, QuestionsBeginWithOneSpaceAndOnlyTenTwentySevenAndThirtyFourEndWithOne)
{
    for (int k = 0; k < kBankSize; ++k) {
        const std::string_view q = bankEntry(k).question;
        SCOPED_TRACE("entry " + std::to_string(k) + ": \"" + std::string(q) + "\"");
        ASSERT_GE(q.size(), 3u);
        EXPECT_EQ(q[0], ' ');
        EXPECT_NE(q[1], ' ');
        const bool endsWithSpace = (k == 10 || k == 27 || k == 34);
        EXPECT_EQ(q.back() == ' ', endsWithSpace);
        EXPECT_NE(q[q.size() - 2], ' ');
    }
}

TEST(Praise, HoldsTheFiveMessagesWithSlotFourRepeatingSlotThree)
{
    const auto &praise = praiseMessages();
    ASSERT_EQ(praise.size(), 5u);
    EXPECT_EQ(praise[0], "Sahi Jawab! Aap bahut Umda Khel Rahe Hai!");
    EXPECT_EQ(praise[1], "Sahi Jawab! Lagta hai aap 15 prashno ka uttar de payenge aur Tarvelo Banenge!");
    EXPECT_EQ(praise[2], "Sahi Jawab! and good reply!");
    EXPECT_EQ(praise[3], "Aap ka jawab bilkul sahi hai!");
    EXPECT_EQ(praise[4], praise[3]);
}

TEST(TrimSpaces, RemovesOuterSpacesOnly)
{
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"  1. C with Classes  ", "1. C with Classes"},
        {"1. +", "1. +"},
        {" x", "x"},
        {"x ", "x"},
        {"", ""},
        {"   ", ""},
        {"a  b", "a  b"},                 // inner runs stay
        {"\tTab\t", "\tTab\t"},           // a tab is not a space
        {" \nLine\n ", "\nLine\n"},
        {"\xC2\xA0No-break\xC2\xA0", "\xC2\xA0No-break\xC2\xA0"},
    };
    for (const auto &[in, out] : cases)
        EXPECT_EQ(trimSpaces(in), out) << "input \"" << in << "\"";
}

}  // namespace
}  // namespace quiz
