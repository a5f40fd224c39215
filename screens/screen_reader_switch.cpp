// Own
#include "screen_reader_switch.h"

// Qt
#include <QDBusConnection>
#include <QtCore/private/qobject_p_p.h>
#include <QtGui/private/qspiaccessiblebridge_p.h>

namespace screens {
namespace {

const QString kPath = QStringLiteral("/org/a11y/bus");
const QString kStatus = QStringLiteral("org.a11y.Status");

// Qt's bridge reads the status when the accessibility bus comes up, through a slot of the object
// that holds its session bus connection; the same slot reads it again now. That object has no
// parent: it is found as the sender of the bridge's one incoming connection, its "enabled changed"
// signal. A Qt without the bridge leaves nothing to ask.
void askQtAgain()
{
    QSpiAccessibleBridge *bridge = QSpiAccessibleBridge::instance();
    if (bridge == nullptr)
        return;
    const QObjectPrivate::ConnectionData *connections = QObjectPrivate::get(bridge)->connections.loadAcquire();
    for (const QObjectPrivate::Connection *c = connections != nullptr ? connections->senders : nullptr; c != nullptr;
         c = c->next)
        if (c->sender != nullptr && qstrcmp(c->sender->metaObject()->className(), "DBusConnection") == 0)
            QMetaObject::invokeMethod(c->sender, "serviceRegistered", Qt::QueuedConnection);
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
