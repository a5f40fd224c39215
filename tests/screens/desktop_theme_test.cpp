// The screens' colours are the game's own on every desktop: a dark desktop theme, present at start
// or arriving while the game runs, changes nothing the three screens show.

// Own
#include "screen_fixture.h"
#include "screens/platform.h"
#include "screens/standard_scheme.h"

// Qt
#include <QApplication>
#include <QMetaEnum>
#include <QStyle>
#include <QStyleFactory>

namespace screens_test {
namespace {

using DesktopTheme = ShellFixture;

// The palette of a desktop theme of dark grounds and light text.
QPalette darkTheme()
{
    QPalette dark(QColor(0xee, 0xee, 0xee), QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::Base, QColor(0x2d, 0x2d, 0x2d));
    dark.setColor(QPalette::Text, QColor(0xff, 0xff, 0xff));
    dark.setColor(QPalette::Light, QColor(0x50, 0x50, 0x50));
    return dark;
}

// What a screen shows, pixel for pixel.
QImage shownOn(QWidget &screen) { return screen.grab().toImage().convertToFormat(QImage::Format_RGB32); }

TEST_F(DesktopTheme, TheStandardSchemeIsWhatASessionWithoutAThemeShows)
{
    // The offscreen platform has no desktop theme: Fusion's palette is Qt's own light scheme there.
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    const QPalette plain = fusion->standardPalette();
    const QPalette scheme = screens::standardScheme();
    const QMetaEnum roles = QMetaEnum::fromType<QPalette::ColorRole>();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (int role = 0; role < QPalette::NColorRoles; ++role)
            EXPECT_EQ(scheme.color(group, QPalette::ColorRole(role)).rgba(),
                      plain.color(group, QPalette::ColorRole(role)).rgba())
                << "group " << group << ", " << roles.valueToKey(role);
}

// Qt answers a new desktop theme by resolving the palette the game set again against the theme's,
// which fills every role the game left unset, and by telling every window. A screen must come out
// pixel for pixel as before.
void expectUnchangedByADarkTheme(QWidget &screen)
{
    SCOPED_TRACE(screen.objectName().toStdString());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
    QCoreApplication::processEvents();
    const QImage before = shownOn(screen);
    QApplication::setPalette(QApplication::palette().resolve(darkTheme()));
    QEvent change(QEvent::ThemeChange);
    QCoreApplication::sendEvent(&screen, &change);
    QCoreApplication::processEvents();
    EXPECT_EQ(shownOn(screen), before);
    QApplication::setPalette(screens::systemPalette());
}

TEST_F(DesktopTheme, AThemeChangeWhileRunningChangesNothingShown)
{
    forEachScreen(expectUnchangedByADarkTheme);
}

}  // namespace
}  // namespace screens_test
