// What the game finds in the environment it is launched in: the session bus, and whether the font
// configuration can be read while the platform starts.

// Own
#include "screens/launch_environment.h"

// Qt
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Standard
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A screen reader reaches the game only over the session bus. A login's bus is found by its socket
// at the standard place; a stale file there, or no folder at all, must not stand for one.
TEST(SessionBus, TheLoginsBusIsFoundAtItsStandardPlaceAndNoneIsInventedElsewhere)
{
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const QByteArray folder = QFile::encodeName(runtime.path());
    EXPECT_EQ(screens::sessionBusAddress("unix:path=/elsewhere", folder), "unix:path=/elsewhere");
    EXPECT_EQ(screens::sessionBusAddress({}, {}), "disabled:");
    EXPECT_EQ(screens::sessionBusAddress({}, folder), "disabled:");

    QFile stale(runtime.filePath(QStringLiteral("bus")));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    EXPECT_EQ(screens::sessionBusAddress({}, folder), "disabled:") << "a plain file is no bus";
    stale.remove();

    const int bus = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, (folder + "/bus").constData(), sizeof address.sun_path - 1);
    ASSERT_EQ(bind(bus, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    EXPECT_EQ(screens::sessionBusAddress({}, folder), "unix:path=" + folder + "/bus");
    close(bus);
}

// Starting twice, waiting twice or not at all, or never starting must each end without
// std::terminate: a joinable thread destroyed or overwritten ends the program.
TEST(FontConfigurationReader, StartsOnceAndEndsCleanlyWhateverTheOrder)
{
    {
        screens::FontConfigurationReader neverStarted;
        neverStarted.wait();
        EXPECT_FALSE(neverStarted.read());
    }
    {
        screens::FontConfigurationReader reader;
        reader.start();
        reader.start();
        reader.wait();
        EXPECT_TRUE(reader.read());
        reader.wait();
        reader.start();   // once read, it is not read again
        EXPECT_TRUE(reader.read());
    }
    {
        screens::FontConfigurationReader leftRunning;
        leftRunning.start();
    }
}

TEST(FontConfigurationReader, WaitsForThePlatformWhenALauncherTokenIsSet)
{
    const QByteArray startup = qgetenv("DESKTOP_STARTUP_ID");
    const QByteArray activation = qgetenv("XDG_ACTIVATION_TOKEN");
    qunsetenv("DESKTOP_STARTUP_ID");
    qunsetenv("XDG_ACTIVATION_TOKEN");
    EXPECT_FALSE(screens::platformStartChangesEnvironment());
    qputenv("DESKTOP_STARTUP_ID", "launcher_TIME0");
    EXPECT_TRUE(screens::platformStartChangesEnvironment());
    qunsetenv("DESKTOP_STARTUP_ID");
    qputenv("XDG_ACTIVATION_TOKEN", "token");
    EXPECT_TRUE(screens::platformStartChangesEnvironment());
    qunsetenv("XDG_ACTIVATION_TOKEN");
    if (!startup.isNull())
        qputenv("DESKTOP_STARTUP_ID", startup);
    if (!activation.isNull())
        qputenv("XDG_ACTIVATION_TOKEN", activation);
}

}  // namespace
