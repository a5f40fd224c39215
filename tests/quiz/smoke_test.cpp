#include "quiz/question_bank.h"
#include <gtest/gtest.h>
TEST(Smoke, BankHas37) { EXPECT_EQ(quiz::questionBank().size(), 37u); }
