// Own
#include "answer_keys.h"
#include "quiz/controls.h"

// Qt
#include <QKeyEvent>

namespace screens {

int answeredOption(int key, quint32 nativeScanCode)
{
    if (key >= Qt::Key_1 && key < Qt::Key_1 + quiz::kOptionCount)
        return key - Qt::Key_1 + 1;
    if (nativeScanCode >= kDigitRowKeyOne && nativeScanCode < kDigitRowKeyOne + static_cast<quint32>(quiz::kOptionCount))
        return static_cast<int>(nativeScanCode - kDigitRowKeyOne) + 1;
    return 0;
}

int answeredOption(const QKeyEvent &event) { return answeredOption(event.key(), event.nativeScanCode()); }

}  // namespace screens
