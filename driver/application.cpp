// Own
#include "application.h"
#include "screens/platform.h"

// Standard
#include <algorithm>

namespace driver {
namespace {

QtMessageHandler g_defaultHandler = nullptr;

// The driver's own Qt keeps no files: a runtime folder it lacks is no news.
void quietRuntimeFolder(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        g_defaultHandler(type, context, message);
}

}  // namespace

Application::Application(int argc, char *argv[])
{
    static char name[] = "tarvelo_driver";
    static char platform[] = "-platform";
    static char offscreen[] = "offscreen";
    // The program's name, Qt's offscreen platform, the program's own arguments, and the null that
    // ends them, laid out at once.
    const int own = std::max(argc - 1, 0);
    m_arguments.resize(static_cast<std::size_t>(own) + 4);
    m_arguments[0] = argc > 0 ? argv[0] : name;
    m_arguments[1] = platform;
    m_arguments[2] = offscreen;
    std::copy_n(argv + 1, own, m_arguments.begin() + 3);
    m_arguments.back() = nullptr;
    m_count = own + 3;
    g_defaultHandler = qInstallMessageHandler(quietRuntimeFolder);
    m_application = std::make_unique<QApplication>(m_count, m_arguments.data());
    screens::installStyle();
}

}  // namespace driver
