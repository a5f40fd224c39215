// Own
#include "launch_environment.h"

// Qt
#include <QtGlobal>

// Standard
#include <system_error>

// System
#include <fontconfig/fontconfig.h>
#include <sys/stat.h>

namespace screens {

QByteArray sessionBusAddress(const QByteArray &named, const QByteArray &runtimeDirectory)
{
    if (!named.isEmpty())
        return named;
    if (!runtimeDirectory.isEmpty()) {
        const QByteArray socket = runtimeDirectory + "/bus";
        struct stat s {};
        if (stat(socket.constData(), &s) == 0 && S_ISSOCK(s.st_mode))
            return "unix:path=" + socket;
    }
    return "disabled:";
}

FontConfigurationReader::~FontConfigurationReader() { wait(); }

void FontConfigurationReader::start()
{
    if (m_started)
        return;
    m_started = true;
    try {
        m_thread = std::thread([this] { m_read = FcInit() == FcTrue; });
    } catch (const std::system_error &) {
        // No thread to be had: Qt reads the configuration itself, as it would without the reader.
    }
}

void FontConfigurationReader::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

bool platformStartChangesEnvironment()
{
    // The X11 platform removes the first, Qt's Wayland start the second.
    return qEnvironmentVariableIsSet("DESKTOP_STARTUP_ID") || qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN");
}

}  // namespace screens
