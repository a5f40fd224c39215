// Own
#include "question_game.h"

// Standard
#include <algorithm>

namespace quiz {

QuestionGame::QuestionGame(RandomSource &random, ScreenSwitcher &screens)
    : m_random(random), m_screens(screens)
{
}

// --- What the player or the platform did --------------------------------------------------------

void QuestionGame::load()
{
    m_controls.lifeline.enabled = false;
    for (int k = 0; k < kBankSize; ++k)
        m_state.strQuestion[static_cast<std::size_t>(k)] = std::string(bankEntry(k).question);
    for (int s = 0; s < kPraiseCount; ++s)
        m_state.strPraise[static_cast<std::size_t>(s)] = std::string(praiseMessages()[static_cast<std::size_t>(s)]);
    m_controls.next.enabled = false;
    m_controls.endTimer.running = false;
}

void QuestionGame::activate()
{
    // A run holds one game. Coming back to this screen later, from the farewell screen or from
    // another program's window, must leave the game, or its end, as it stands.
    if (m_started)
        return;
    m_started = true;
    startGame();
}

void QuestionGame::pressShowOptions()
{
    if (m_controls.showOptions.usable())
        revealOptions();
}

void QuestionGame::pressLifeline()
{
    if (m_controls.lifeline.usable())
        applyLifeline();
}

void QuestionGame::pressNext()
{
    if (m_controls.next.usable())
        nextQuestion();
}

void QuestionGame::pressQuit()
{
    if (m_controls.quit.usable())
        quit();
}

void QuestionGame::clickBox(int option)
{
    if (option < 1 || option > kOptionCount || !box(option).usable())
        return;
    setTicked(option, !box(option).ticked);
}

void QuestionGame::timerFired()
{
    if (m_controls.endTimer.running)
        endOfGame();
}

// --- The screen's procedures, each an ordered list of writes ------------------------------------

void QuestionGame::startGame()
{
    auto &c = m_controls;
    c.message.pointSize = kMessagePointSize;
    c.message.text = colours::kWhite;
    c.message.caption = texts::kReminder;
    c.quit.enabled = false;
    m_state.qSpare = kFirstSpare;
    c.happyFace.visible = false;
    c.sadFace.visible = false;
    c.lifelineUsed.visible = false;
    m_screens.hide(Screen::Title);
    m_state.qCount = 1;
    c.number.caption = std::to_string(m_state.qCount);
    m_state.qIndex = drawIndex();
    putQuestion(m_state.qIndex);
    for (Label *label : {&c.question, &c.options[0], &c.options[1], &c.options[2], &c.options[3]}) {
        label->pointSize = kMessagePointSize;
        label->text = colours::kWhite;
    }
}

void QuestionGame::revealOptions()
{
    auto &c = m_controls;
    c.quit.enabled = true;
    c.message.caption.clear();
    c.lifeline.enabled = true;   // a used-up lifeline stays hidden
    const int k = m_state.qIndex;
    if (k >= 0 && k < kBankSize) {
        const BankEntry &entry = bankEntry(k);
        c.question.caption = m_state.strQuestion[static_cast<std::size_t>(k)];
        for (int n = 1; n <= kOptionCount; ++n)
            option(n).caption = std::string(trimSpaces(entry.options[static_cast<std::size_t>(n - 1)]));
    }
    c.showOptions.enabled = false;
}

void QuestionGame::applyLifeline()
{
    auto &c = m_controls;
    ++m_state.lifeCount;
    // The pair removed is always two wrong options of the range that holds the question.
    int first = 0;
    int second = 0;
    switch (correctOptionFor(m_state.qIndex)) {
    case 1:
    case 4: first = 2; second = 3; break;
    case 3: first = 1; second = 4; break;
    default: break;
    }
    if (first != 0) {
        option(first).caption.clear();
        option(second).caption.clear();
        box(first).enabled = false;
        box(second).enabled = false;
    }
    if (m_state.lifeCount == kLifelinePresses) {
        c.lifeline.enabled = false;
        c.lifeline.visible = false;
        m_state.lifeCount = kLifelineUsedUp;
        c.lifelineUsed.visible = true;
    }
}

void QuestionGame::nextQuestion()
{
    auto &c = m_controls;
    ++m_state.qCount;
    c.number.caption = std::to_string(m_state.qCount);
    for (Label &label : c.options)
        label.back = colours::kWindowText;
    // Emptied before the boxes are unticked, so that the untick of the last answer's box
    // ends in the blank-option guard instead of being judged as a new answer.
    for (Label &label : c.options)
        label.caption.clear();
    for (Label &label : c.options)
        label.text = colours::kWhite;
    c.message.caption.clear();
    for (CheckBox &b : c.boxes)
        b.enabled = true;
    for (int n = 1; n <= kOptionCount; ++n)
        setTicked(n, false);
    c.lifeline.enabled = false;
    c.showOptions.enabled = true;
    c.quit.enabled = false;
    c.next.enabled = false;
    c.happyFace.visible = false;
    c.sadFace.visible = false;
    const int d = drawIndex();
    if (!m_state.qAsked[static_cast<std::size_t>(d)])
        m_state.qIndex = d;
    else
        m_state.qIndex = replacementForRepeat();
    putQuestion(m_state.qIndex);
}

void QuestionGame::quit()
{
    // The pictures and "Lifeline Used" stay: a happy face beside the goodbye after a right answer.
    auto &c = m_controls;
    hideGameControls();
    c.message.text = colours::kWhite;
    c.message.caption = texts::kGoodbye;
    c.endTimer.running = true;
}

void QuestionGame::endOfGame()
{
    m_screens.show(Screen::Farewell);
    m_controls.endTimer.running = false;
}

// --- Ticks and judging ---------------------------------------------------------------------------

void QuestionGame::setTicked(int option, bool ticked)
{
    if (box(option).ticked == ticked)
        return;   // no change, no click
    box(option).ticked = ticked;
    boxClicked(option);
}

void QuestionGame::boxClicked(int option)
{
    if (this->option(option).caption.empty())
        setTicked(option, false);   // not an answer: a box cannot stay ticked beside a blank option
    else
        judge(option);
}

void QuestionGame::judge(int n)
{
    auto &c = m_controls;
    box(n).enabled = false;
    for (int other = 1; other <= kOptionCount; ++other)
        if (other != n)
            box(other).enabled = false;
    c.lifeline.enabled = false;
    c.showOptions.enabled = false;
    c.next.enabled = true;

    const int correct = correctOptionFor(m_state.qIndex);
    if (correct == 0)
        return;
    Label &right = option(correct);

    if (n == correct) {
        c.message.pointSize = kMessagePointSize;
        c.message.text = colours::kWhite;
        right.text = colours::kBlue;
        right.back = colours::kLightGreen;
        if (m_state.qCount == kLastQuestion) {
            hideGameControls();
            c.optionFrames.visible = false;
            c.questionFrame.visible = false;
            c.lifelineUsed.visible = false;
            c.happyFace.visible = true;
            c.endTimer.running = true;
            m_state.qCount = kWonMark;
        }
        if (m_state.qCount == kWonMark) {
            c.message.text = colours::kHighlight3d;
            c.message.caption = texts::kWon;
        } else {
            m_state.praiseIndex = choose(m_random, kPraiseDrawn);
            c.message.caption = m_state.strPraise[static_cast<std::size_t>(m_state.praiseIndex)];
            c.happyFace.visible = true;
        }
        return;
    }

    c.message.pointSize = kMessagePointSize;
    c.message.text = colours::kRed;
    c.message.caption = texts::kWrong;
    right.text = colours::kBlue;
    right.back = colours::kLightGreen;
    option(n).back = colours::kOrange;
    c.sadFace.visible = true;
    c.endTimer.running = true;
    c.next.enabled = false;
    c.lifeline.enabled = false;
    c.quit.enabled = false;
}

// --- Helpers ----------------------------------------------------------------------------------------

int QuestionGame::drawIndex()
{
    m_random.reseed();
    return choose(m_random, kRandomEntries);
}

int QuestionGame::replacementForRepeat()
{
    if (m_state.qSpare < kBankSize)
        return m_state.qSpare++;
    // All seven spares are used: take the lowest entry this game has not shown. A game has at most
    // 15 questions, so one always remains.
    const auto it = std::find(m_state.qAsked.begin(), m_state.qAsked.end(), false);
    return static_cast<int>(it - m_state.qAsked.begin());
}

void QuestionGame::putQuestion(int index)
{
    m_state.qAsked[static_cast<std::size_t>(index)] = true;
    m_controls.question.caption = m_state.strQuestion[static_cast<std::size_t>(index)];
}

void QuestionGame::hideGameControls()
{
    auto &c = m_controls;
    c.lifeline.visible = false;
    c.quit.visible = false;
    c.next.visible = false;
    c.showOptions.visible = false;
    c.question.visible = false;
    for (Label &label : c.options)
        label.visible = false;
    c.number.visible = false;
    for (CheckBox &b : c.boxes)
        b.visible = false;
}

}  // namespace quiz
