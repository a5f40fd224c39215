// Own
#include "screen_reader_switch.h"

// Qt
#include <QDBusConnection>
#include <QtGui/private/qspiaccessiblebridge_p.h>

namespace screens {
namespace {

const QString kPath = QStringLiteral("/org/a11y/bus");
const QString kStatus = QStringLiteral("org.a11y.Status");

// Qt's bridge reads the status when the accessibility bus comes up, through a slot of its session
// bus connection; the same slot reads it again now. A Qt without the bridge leaves nothing to ask.
void askQtAgain()
{
    QSpiAccessibleBridge *bridge = QSpiAccessibleBridge::instance();
    if (bridge == nullptr)
        return;
    for (QObject *child : bridge->children())
        if (qstrcmp(child->metaObject()->className(), "DBusConnection") == 0)
            QMetaObject::invokeMethod(child, "serviceRegistered", Qt::QueuedConnection);
}

}  // namespace

bool asksForAssistiveTechnology(const QString &interface, const QVariantMap &changed)
{
    if (interface != kStatus)
        return false;
    return changed.value(QStringLiteral("IsEnabled")).toBool() ||
           changed.value(QStringLiteral("ScreenReaderEnabled")).toBool();
}

ScreenReaderSwitch::ScreenReaderSwitch()
{
    // From whichever program serves the status, now or later: no owner is looked up at start.
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected())
        bus.connect(QString(), kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                    QStringLiteral("PropertiesChanged"), this,
                    SLOT(statusChanged(QString, QVariantMap, QStringList)));
}

void ScreenReaderSwitch::statusChanged(const QString &interface, const QVariantMap &changed, const QStringList &)
{
    if (asksForAssistiveTechnology(interface, changed))
        askQtAgain();
}

}  // namespace screens
