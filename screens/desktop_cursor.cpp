// Own
#include "desktop_cursor.h"

// Qt
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QVariant>

namespace screens {
namespace {

constexpr const char *kPortal = "org.freedesktop.portal.Desktop";
// A portal that answers at all answers at once; a hung one must not hold the title back.
constexpr int kReplyWithinMs = 200;

// One of GNOME's interface settings as the portal reads it out, or an invalid value.
QVariant desktopSetting(QDBusConnection &bus, const QString &key)
{
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(kPortal),
                                                       QStringLiteral("/org/freedesktop/portal/desktop"),
                                                       QStringLiteral("org.freedesktop.portal.Settings"),
                                                       QStringLiteral("Read"));
    call << QStringLiteral("org.gnome.desktop.interface") << key;
    const QDBusMessage reply = bus.call(call, QDBus::Block, kReplyWithinMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    // Read hands the value back inside a variant, and older portals inside one more.
    QVariant value = reply.arguments().constFirst();
    while (value.metaType() == QMetaType::fromType<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

}  // namespace

void followDesktopCursor()
{
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    const bool size = !qEnvironmentVariableIsSet("XCURSOR_SIZE");
    const bool theme = !qEnvironmentVariableIsSet("XCURSOR_THEME");
    if (!size && !theme)
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    // Only a portal that runs already: asking one by name would start its service for the game.
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(QString::fromLatin1(kPortal)))
        return;
    if (size) {
        bool ok = false;
        const int pixels = desktopSetting(bus, QStringLiteral("cursor-size")).toInt(&ok);
        if (ok && pixels > 0)
            qputenv("XCURSOR_SIZE", QByteArray::number(pixels));
    }
    if (theme) {
        const QVariant name = desktopSetting(bus, QStringLiteral("cursor-theme"));
        if (name.metaType() == QMetaType::fromType<QString>() && !name.toString().isEmpty())
            qputenv("XCURSOR_THEME", name.toString().toUtf8());
    }
}

}  // namespace screens
