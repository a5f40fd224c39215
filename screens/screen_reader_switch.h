// A screen reader turned on while the game runs. Qt asks the desktop's accessibility status
// (org.a11y.Status on the session bus) once, when it starts its accessibility bridge, and never
// hears it change: a player who starts the game and then turns Orca on would hear nothing of it.
// The game listens for the change itself and has Qt's bridge ask again, so that it joins the
// accessibility bus then, and only then: joining at every start, wanted or not, would cost every
// player's start-up the bus's round trips.
#pragma once

// Qt
#include <QObject>
#include <QStringList>
#include <QVariantMap>

namespace screens {

// Whether a change of the accessibility status asks for assistive technology: IsEnabled or
// ScreenReaderEnabled turned on. `interface` is the one whose properties changed.
bool asksForAssistiveTechnology(const QString &interface, const QVariantMap &changed);

class ScreenReaderSwitch : public QObject {
    Q_OBJECT
public:
    // Listens on the session bus the game was given, if any; once per run, after the application.
    ScreenReaderSwitch();

private Q_SLOTS:
    void statusChanged(const QString &interface, const QVariantMap &changed, const QStringList &invalidated);
};

}  // namespace screens
