// A home of the program's own: HOME and the XDG folders of settings, caches, data and state, in a
// new folder that goes when the program ends. A test program and every program it starts then read
// no settings of the account that runs it and write nothing into it, whatever that account holds.
#pragma once

// Standard
#include <string>
#include <vector>

namespace driver {

// HOME and the XDG folders, all inside `home`, as NAME=VALUE entries. GSettings' database (dconf's
// user database) is among the settings.
std::vector<std::string> homeEnvironment(const std::string &home);

class PrivateHome {
public:
    // Makes the folder and puts its variables into this program's environment.
    PrivateHome();
    PrivateHome(const PrivateHome &) = delete;
    PrivateHome &operator=(const PrivateHome &) = delete;
    ~PrivateHome();   // removes the folder with all that was written into it

    const std::string &folder() const { return m_folder; }

private:
    std::string m_folder;
};

}  // namespace driver
