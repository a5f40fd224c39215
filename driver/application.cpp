// Own
#include "application.h"
#include "screens/platform.h"

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

Application::Application(int argc, char *argv[]) : m_arguments(argv, argv + argc)
{
    static char name[] = "tarvelo_driver";
    static char platform[] = "-platform";
    static char offscreen[] = "offscreen";
    if (m_arguments.empty())
        m_arguments.push_back(name);
    m_arguments.insert(m_arguments.begin() + 1, {platform, offscreen});
    m_count = static_cast<int>(m_arguments.size());
    m_arguments.push_back(nullptr);
    g_defaultHandler = qInstallMessageHandler(quietRuntimeFolder);
    m_application = std::make_unique<QApplication>(m_count, m_arguments.data());
    screens::installStyle();
}

}  // namespace driver
