// A headless weston of the driver's own, its socket in the session's runtime folder: what a Wayland
// desktop gives the game, without a screen. It draws with pixman into memory; screenshots come
// through weston-screenshooter, which weston allows a client only with its debug protocol on.
// Its headless backend has no input devices at all, so this display cannot type either: key()
// throws rather than pretend. Screenshots take a few hundred milliseconds each here.
#pragma once

// Own
#include "compositor_display.h"

// Standard
#include <string>

namespace driver {

class WestonDisplay : public CompositorDisplay {
public:
    // Throws std::runtime_error when weston does not come up. runtime is the session's
    // XDG_RUNTIME_DIR (mode 0700, or weston refuses it); weston's log, its configuration and the
    // screenshots go into folder.
    WestonDisplay(QSize size, const std::string &runtime, const std::string &folder);

    std::vector<std::string> clientEnvironment() const override;
    bool key(const std::string &keysymName) override;

private:
    void writeConfiguration(const std::string &file) const;
    QImage grabOutput() override;

    std::string m_runtime;
    std::string m_grabs;   // an empty folder of its own: weston-screenshooter names its file itself
};

}  // namespace driver
