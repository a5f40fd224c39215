// Widget tests run on Qt's offscreen platform inside one QApplication.

// Own
#include "driver/private_home.h"
#include "screens/accessibility.h"
#include "screens/platform.h"

// Qt
#include <QApplication>

#include <gtest/gtest.h>

namespace {
QtMessageHandler g_defaultHandler = nullptr;

// The offscreen platform has no window stacking; its complaint about raising a window says nothing here.
void quietOffscreen(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains(QLatin1String("does not support raise()")))
        return;
    g_defaultHandler(type, context, message);
}
}  // namespace

int main(int argc, char *argv[])
{
    // The account's font settings and Qt's would otherwise change what the screens draw.
    const driver::PrivateHome home;
    g_defaultHandler = qInstallMessageHandler(quietOffscreen);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    screens::installAccessibility();
    screens::installStyle();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
