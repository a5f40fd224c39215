// Which option of the question screen a key answers. Players answer by the keys in the digits'
// place whatever their layout puts on them (& é " ' on a French keyboard), and by the keys that
// type the digits 1 to 4 (the keypad, Shift on a French keyboard, the plain digits elsewhere).
#pragma once

// Qt
#include <QtGlobal>

class QKeyEvent;

namespace screens {

// Qt gives the XKB keycode as a key's native scan code on X11 and on Wayland alike: the kernel's
// key number plus 8, the same key whatever the layout. The digit row's keys 1 to 4 are 10 to 13.
inline constexpr quint32 kDigitRowKeyOne = 10;

// 1 <= option <= 4, or 0 when the key answers nothing. What a key types comes first, so that the
// keypad and a layout that types the digits elsewhere answer by their digits; a key that types no
// digit from 1 to 4 answers by its place. A scan code of 0 (a key made up by a program) has none.
int answeredOption(int key, quint32 nativeScanCode);
int answeredOption(const QKeyEvent &event);

}  // namespace screens
