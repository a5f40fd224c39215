// What every program of the driver creates first. The driver reads the game's colours through the
// game's own Qt layer, which wants an application object and the game's style; the application
// runs on Qt's offscreen platform, so the driver never opens a window on the display it drives.
// The program has a home of its own, so that neither it nor the display servers and tools it starts
// read or write the settings of the account that runs it.
#pragma once

// Own
#include "private_home.h"

// Qt
#include <QApplication>

// Standard
#include <memory>
#include <vector>

namespace driver {

class Application {
public:
    Application(int argc, char *argv[]);

private:
    PrivateHome m_home;
    std::vector<char *> m_arguments;
    int m_count = 0;
    std::unique_ptr<QApplication> m_application;
};

}  // namespace driver
