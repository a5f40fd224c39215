// A headless sway of the driver's own: a tiling Wayland compositor, which lays each new window
// beside the others instead of over them. It draws with pixman into memory, with nothing of its own
// on the output (no bar, no wallpaper, no borders), so that a window alone fills the output from its
// corner as on the Xvfb display. Screenshots come through grim, keys through wtype's virtual
// keyboard, one wtype a key; there is no pointer.
//
// sway refuses to run as root. When the driver is root, sway and every program of the display run
// as the unprivileged user "nobody": the session's runtime folder becomes that user's, and a
// program given by its path is copied where that user can read it, since the build it comes from
// may lie in a folder only root may enter.
#pragma once

// Own
#include "compositor_display.h"

// Standard
#include <map>
#include <string>
#include <vector>

namespace driver {

class SwayDisplay : public CompositorDisplay {
public:
    // Throws std::runtime_error when sway does not come up with an output of this size. runtime is
    // the session's XDG_RUNTIME_DIR, inside folder; sway's log, its configuration, the screenshots
    // and the copies of programs go into folder.
    SwayDisplay(QSize size, const std::string &runtime, const std::string &folder);

    std::vector<std::string> clientEnvironment() const override;
    std::vector<std::string> clientCommand(const std::vector<std::string> &argv) override;
    bool key(const std::string &keysymName) override;

private:
    void giveFoldersToUser(const std::string &folder);
    void writeConfiguration(const std::string &file) const;
    // The environment of the display's own tools (grim, wtype).
    std::vector<std::string> toolEnvironment() const;
    QImage grabOutput() override;

    std::string m_runtime;
    std::string m_own;                     // the user's folder: configuration, home, screenshots
    std::vector<std::string> m_asUser;     // the command prefix that runs a program as that user; empty as not root
    std::map<std::string, std::string> m_copies;   // a program's path, and where its copy lies
};

}  // namespace driver
