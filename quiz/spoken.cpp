// Own
#include "spoken.h"
#include "question_bank.h"
#include "question_game.h"

// Standard
#include <vector>

namespace quiz {
namespace {

const Label &optionOf(const QuestionControls &c, int option) { return c.options[static_cast<std::size_t>(option - 1)]; }
const CheckBox &boxOf(const QuestionControls &c, int option) { return c.boxes[static_cast<std::size_t>(option - 1)]; }
int optionOf(Control box) { return static_cast<int>(box) - static_cast<int>(Control::Box1) + 1; }

// Spoken text has no outer spaces: some messages carry them for the eye only.
std::string spoken(std::string_view text) { return std::string(trimSpaces(text)); }

void append(std::string &to, const std::string &sentence)
{
    if (sentence.empty())
        return;
    if (!to.empty())
        to += ' ';
    to += sentence;
}

bool usable(const QuestionControls &c, Control control)
{
    switch (control) {
    case Control::None: return false;
    case Control::ShowOptions: return c.showOptions.usable();
    case Control::Next: return c.next.usable();
    case Control::Quit: return c.quit.usable();
    case Control::Lifeline: return c.lifeline.usable();
    default: return boxOf(c, optionOf(control)).usable();
    }
}

// The first box whose option shows and that can be ticked, or None.
Control firstAnswerableBox(const QuestionControls &c)
{
    for (int n = 1; n <= kOptionCount; ++n)
        if (boxOf(c, n).usable() && !optionOf(c, n).caption.empty())
            return static_cast<Control>(static_cast<int>(Control::Box1) + n - 1);
    return Control::None;
}

Control firstUsable(const QuestionControls &c)
{
    for (Control control : kTabOrder)
        if (usable(c, control))
            return control;
    return Control::None;
}

bool optionsShown(const QuestionControls &c)
{
    for (const Label &option : c.options)
        if (!option.caption.empty())
            return true;
    return false;
}

}  // namespace

std::string spokenQuestion(const QuestionControls &c)
{
    if (c.number.caption.empty())
        return {};
    std::string text = "Question " + c.number.caption + ": " + spoken(c.question.caption);
    append(text, spoken(c.message.caption));
    return text;
}

std::string boxName(const QuestionControls &c, int option)
{
    const std::string name = "Option " + std::to_string(option);
    const std::string &caption = optionOf(c, option).caption;
    return caption.empty() ? name : name + ": " + caption;
}

std::string boxDescription(const QuestionControls &c, int option)
{
    if (!optionOf(c, option).caption.empty())
        return "Tick to answer with option " + std::to_string(option) + ".";
    if (optionsShown(c))
        return "Removed by the 50-50 lifeline.";
    return "The options are not shown yet.";
}

std::string announcement(const QuestionControls &before, const QuestionControls &after, int correct)
{
    std::string said;
    const std::string &message = after.message.caption;
    if (message != before.message.caption && message != texts::kReminder) {
        append(said, spoken(message));
        if (message == texts::kWrong && correct >= 1 && correct <= kOptionCount) {
            const std::string &right = optionOf(after, correct).caption;
            append(said, "The right answer was option " + std::to_string(correct) +
                             (right.empty() ? std::string(".") : ": " + right + "."));
        }
    }
    // Options blanked on the same question are the lifeline's doing; a new question blanks them all.
    if (after.number.caption == before.number.caption) {
        std::vector<int> removed;
        std::vector<int> left;
        for (int n = 1; n <= kOptionCount; ++n) {
            const bool shown = !optionOf(after, n).caption.empty();
            if (shown)
                left.push_back(n);
            else if (!optionOf(before, n).caption.empty())
                removed.push_back(n);
        }
        if (!removed.empty() && left.size() == 2)
            append(said, "50-50: options " + std::to_string(left[0]) + " and " + std::to_string(left[1]) + " remain.");
    }
    if (after.lifelineUsed.visible && !before.lifelineUsed.visible)
        append(said, after.lifelineUsed.caption + ".");
    return said;
}

Control focusAfter(const QuestionControls &before, const QuestionControls &after, Control focused)
{
    if (after.number.caption != before.number.caption)
        return firstUsable(after);
    if (after.next.usable() && !before.next.usable())
        return Control::Next;
    const bool revealed = before.showOptions.usable() && !after.showOptions.usable() && optionsShown(after);
    if (revealed || !usable(after, focused)) {
        if (const Control box = firstAnswerableBox(after); box != Control::None)
            return box;
        return firstUsable(after);
    }
    return focused;
}

}  // namespace quiz
