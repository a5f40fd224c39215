// One game on the question screen: its state and every event procedure of that screen.
#pragma once

// Own
#include "controls.h"
#include "question_bank.h"
#include "random_source.h"
#include "screen_switcher.h"

// Standard
#include <array>
#include <string>

namespace quiz {

inline constexpr int kLastQuestion = 15;
inline constexpr int kWonMark = 50;          // qCount once the game is won
inline constexpr int kLifelinePresses = 2;   // the press that uses the lifeline up
inline constexpr int kLifelineUsedUp = 4;    // lifeCount once used up
inline constexpr int kEndDelayMs = 6000;     // Timer1: from the end of a game to the farewell screen
inline constexpr double kMessagePointSize = 12;

namespace texts {
inline constexpr std::string_view kReminder =
    "PLEASE! ALWAYS REMEMBER THAT OPTIONS CAN BE SELECTED USING YOUR MOUSE BY CHECKING ANY ONE CHECK BOX ......";
inline constexpr std::string_view kGoodbye = " Bye! and you are most Welcome any time ..... ";
inline constexpr std::string_view kWon = " Absolutely Correct! You have proved that you are a TARVELO.";
inline constexpr std::string_view kWrong = "Afsos!!  yeh galat jawab hamare sath bhag lene ka shukriya.....";
}  // namespace texts

// The game-state variables, named after the screen's own.
struct GameState {
    int qIndex = -1;        // -1 until the first draw, then 0 <= qIndex < kBankSize
    int praiseIndex = -1;   // -1 until the first praise, then 0 <= praiseIndex < kPraiseDrawn
    int qSpare = kFirstSpare;
    int qCount = 0;         // 1 .. 15 during a game, kWonMark once won
    int lifeCount = 0;      // 0, 1 or kLifelineUsedUp; never reset
    std::array<bool, kBankSize> qAsked{};
    std::array<std::string, kBankSize> strQuestion;
    std::array<std::string, kPraiseCount> strPraise;
};

class QuestionGame {
public:
    QuestionGame(RandomSource &random, ScreenSwitcher &screens);
    virtual ~QuestionGame() = default;

    // What the player or the platform did. Each runs to completion; presses and clicks on a control
    // that is disabled or hidden do nothing, as the platform would never deliver them.
    void load();                       // the screen is created
    void activate();                   // the screen became the active window
    void pressShowOptions();           // "Click me to see Options"
    void pressLifeline();              // "50-50"
    void pressNext();                  // "Next Question"
    void pressQuit();                  // "Quit"
    void clickBox(int option);         // 1 <= option <= 4: the player toggles that box
    void timerFired();                 // Timer1's interval has passed

    const QuestionControls &controls() const { return m_controls; }
    const GameState &state() const { return m_state; }
    bool started() const { return m_started; }

protected:
    // The click procedure shared by the four boxes (Check1_Click .. Check4_Click). It runs for the
    // player's click and, nested, for every change of a tick made from code; virtual so that a test
    // can watch each run, nested ones included, without the game keeping a record of its own.
    virtual void boxClicked(int option);   // 1 <= option <= 4

private:
    void startGame();
    void revealOptions();
    void applyLifeline();
    void nextQuestion();
    void quit();
    void endOfGame();

    // Changing a tick from code runs that box's click at once, nested, but only on a real change.
    // nextQuestion() relies on it: captions are emptied before the boxes are unticked.
    void setTicked(int option, bool ticked);
    void judge(int option);

    int drawIndex();                   // re-seeds, then 0 .. kRandomEntries - 1
    int replacementForRepeat();
    void putQuestion(int index);
    void hideGameControls();   // the buttons, the question, its options, number and boxes

    CheckBox &box(int option) { return m_controls.boxes[static_cast<std::size_t>(option - 1)]; }
    Label &option(int n) { return m_controls.options[static_cast<std::size_t>(n - 1)]; }

    RandomSource &m_random;
    ScreenSwitcher &m_screens;
    QuestionControls m_controls;
    GameState m_state;
    bool m_started = false;            // the first activation starts the one game of the run
};

}  // namespace quiz
