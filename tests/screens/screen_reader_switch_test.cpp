// Which changes of the desktop's accessibility status turn the game's accessibility on.

#ifdef TARVELO_FOLLOWS_SCREEN_READER_BY_HAND

// Own
#include "screens/screen_reader_switch.h"

#include <gtest/gtest.h>

namespace {

TEST(ScreenReaderSwitch, OnlyAStatusTurnedOnAsksForAssistiveTechnology)
{
    const QString status = QStringLiteral("org.a11y.Status");
    struct Case {
        QString interface;
        QVariantMap changed;
        bool asks;
    };
    const Case cases[] = {
        {status, {{QStringLiteral("ScreenReaderEnabled"), true}}, true},
        {status, {{QStringLiteral("IsEnabled"), true}}, true},
        {status, {{QStringLiteral("IsEnabled"), false}, {QStringLiteral("ScreenReaderEnabled"), true}}, true},
        {status, {{QStringLiteral("ScreenReaderEnabled"), false}}, false},
        {status, {}, false},
        {QStringLiteral("org.a11y.Other"), {{QStringLiteral("ScreenReaderEnabled"), true}}, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(screens::asksForAssistiveTechnology(c.interface, c.changed), c.asks)
            << c.interface.toStdString() << " " << QStringList(c.changed.keys()).join(QLatin1Char(',')).toStdString();
}

}  // namespace

#endif
