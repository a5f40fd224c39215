// How the rules ask for another screen; the Qt shell implements it, tests record it.
#pragma once

namespace quiz {

enum class Screen { Title, Question, Farewell };

class ScreenSwitcher {
public:
    virtual ~ScreenSwitcher() = default;
    // Both create the screen first if it does not exist yet, which runs its load there and then.
    virtual void show(Screen screen) = 0;
    virtual void hide(Screen screen) = 0;
    // Stops the run at once; no further event is handled.
    virtual void endProgram() = 0;
};

}  // namespace quiz
