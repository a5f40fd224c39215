// The farewell screen: any character key ends the run.
#pragma once

// Own
#include "screen_window.h"

namespace screens {

class FarewellWindow : public ScreenWindow {
    Q_OBJECT
public:
    explicit FarewellWindow(quiz::ScreenSwitcher &screens);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

}  // namespace screens
