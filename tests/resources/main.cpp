// The picture tests read images through Qt's image readers, some of which are plugins; a core
// application lets Qt find them, and needs no display.

// Own
#include "driver/private_home.h"

// Qt
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char *argv[])
{
    const driver::PrivateHome home;
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
