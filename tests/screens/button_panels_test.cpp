// Buttons draw as Fusion draws them, every look of them, while each panel is made once: a click on
// the question screen repaints three buttons, and drawing their panels anew each time cost a
// quarter of a millisecond of the player's wait.

// Own
#include "screen_fixture.h"
#include "screens/panel_keeping_style.h"

// Qt
#include <QApplication>
#include <QPainter>
#include <QPixmapCache>
#include <QStyleFactory>
#include <QStyleOptionButton>

// Standard
#include <memory>

namespace screens_test {
namespace {

// The program runs with Qt's pixmap cache off, so that Fusion keeps nothing of its own.
class PixmapCacheOff {
public:
    PixmapCacheOff() : m_limit(QPixmapCache::cacheLimit()) { QPixmapCache::setCacheLimit(0); }
    ~PixmapCacheOff() { QPixmapCache::setCacheLimit(m_limit); }

private:
    int m_limit;
};

// A button's bevel as `style` draws it, away from the corner of a black ground like the question screen's.
QImage bevel(const QStyle &style, const QStyleOptionButton &option)
{
    const qreal ratio = qApp->devicePixelRatio();
    QImage image(QSize(170, 50) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);
    QPainter painter(&image);
    style.drawControl(QStyle::CE_PushButtonBevel, &option, &painter, nullptr);
    return image;
}

const screens::PanelKeepingStyle *programStyle() { return dynamic_cast<const screens::PanelKeepingStyle *>(QApplication::style()); }

}  // namespace

TEST(ButtonPanels, EveryLookIsFusionsOwnPixelForPixelHoweverOftenItComesBack)
{
    const PixmapCacheOff off;
    ASSERT_NE(programStyle(), nullptr);
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette other = QApplication::palette();
    other.setColor(QPalette::Button, QColor(0x40, 0x80, 0xc0));
    const QStyle::State on = QStyle::State_Enabled | QStyle::State_Active;
    const QList<QStyle::State> states{on,
                                      on | QStyle::State_HasFocus,
                                      on | QStyle::State_MouseOver,
                                      on | QStyle::State_Sunken | QStyle::State_MouseOver,
                                      QStyle::State_Active,
                                      QStyle::State_Enabled};
    const QList<QStyleOptionButton::ButtonFeatures> features{QStyleOptionButton::None, QStyleOptionButton::DefaultButton,
                                                             QStyleOptionButton::AutoDefaultButton};
    // Twice over: the second round is drawn from the panels the first one made.
    for (int round = 0; round < 2; ++round)
        for (const QPalette &palette : {QApplication::palette(), other})
            for (const QStyle::State state : states)
                for (const QStyleOptionButton::ButtonFeatures feature : features)
                    for (const QRect &place : {QRect(13, 7, 137, 25), QRect(5, 3, 73, 43)}) {
                        QStyleOptionButton option;
                        option.rect = place;
                        option.state = state;
                        option.features = feature;
                        option.palette = palette;
                        ASSERT_EQ(bevel(*QApplication::style(), option), bevel(*fusion, option))
                            << "round " << round << ", state " << int(state) << ", features " << int(feature) << ", "
                            << place.width() << "x" << place.height();
                    }
}

using ButtonPanelsInPlay = ShellFixture;

TEST_F(ButtonPanelsInPlay, AQuestionAfterTheFirstDrawsEveryButtonFromKeptPanels)
{
    const PixmapCacheOff off;
    enterQuiz(0);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&question()));
    int asked = 0;
    // Options, the right answer, Next: each click repaints three or four buttons in a new look.
    const auto answerOne = [&] {
        const int right = quiz::correctOptionFor(question().game().state().qIndex);
        m_random.pick(++asked, quiz::kRandomEntries);
        for (QWidget *control : {static_cast<QWidget *>(&button("cmdOptions")), static_cast<QWidget *>(&box(right)),
                                 static_cast<QWidget *>(&button("cmdNext"))}) {
            click(*control);
            QCoreApplication::processEvents();
        }
    };
    answerOne();
    const qsizetype kept = programStyle()->keptPanels();
    EXPECT_GT(kept, 0);
    answerOne();
    answerOne();
    EXPECT_EQ(programStyle()->keptPanels(), kept);
}

}  // namespace screens_test
