// Own
#include "title_rules.h"

namespace quiz {
namespace {
constexpr double kNamePointSize = 12;
constexpr double kPressPointSize = 12;
constexpr double kAbortPointSize = 10;
}  // namespace

void TitleRules::load()
{
    // The question screen is built here, hidden, so that its own load has run before this screen shows.
    m_screens.hide(Screen::Question);
    m_controls.name.pointSize = kNamePointSize;
    m_controls.name.text = colours::kMagenta;
    m_controls.press.pointSize = kPressPointSize;
    m_controls.press.text = colours::kBlue;
    m_controls.press.caption = texts::kPressAnyKey;
    m_controls.abort.pointSize = kAbortPointSize;
    m_controls.abort.text = colours::kButtonText;
    m_controls.abort.caption = texts::kPressEsc;
}

void TitleRules::timerFired(int timer)
{
    if (timer < 0 || timer >= kTitleTimerCount || !m_controls.timers[static_cast<std::size_t>(timer)].running)
        return;
    switch (timer) {
    case 0: m_controls.press.text = colours::kOrange; break;
    case 1: m_controls.press.text = colours::kBlue; break;
    case 2: m_controls.name.text = colours::kBlack; break;
    default: m_controls.name.text = colours::kMagenta; break;
    }
}

void TitleRules::keyPressed(int characterCode)
{
    if (characterCode == kEscape) {
        m_screens.endProgram();
        return;
    }
    for (Timer &t : m_controls.timers)
        t.running = false;
    m_screens.show(Screen::Question);
}

}  // namespace quiz
