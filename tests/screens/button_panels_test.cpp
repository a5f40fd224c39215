// Buttons draw as Fusion draws them, in every look, while each panel is made only once.

// Own
#include "screen_fixture.h"
#include "screens/panel_keeping_style.h"

// Qt
#include <QApplication>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionButton>

// Standard
#include <memory>

namespace screens_test {
namespace {

// A button's bevel as `style` draws it, away from the corner of a black ground like the question screen's.
QImage bevel(const QStyle &style, const QStyleOptionButton &option)
{
    QImage image(QSize(170, 50) * qApp->devicePixelRatio(), QImage::Format_RGB32);
    image.setDevicePixelRatio(qApp->devicePixelRatio());
    image.fill(Qt::black);
    QPainter painter(&image);
    style.drawControl(QStyle::CE_PushButtonBevel, &option, &painter, nullptr);
    return image;
}

qsizetype keptPanels() { return dynamic_cast<const screens::PanelKeepingStyle &>(*QApplication::style()).keptPanels(); }

}  // namespace

TEST(ButtonPanels, EveryLookIsFusionsOwnPixelForPixelHoweverOftenItComesBack)
{
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    QPalette other = QApplication::palette();
    other.setColor(QPalette::Button, QColor(0x40, 0x80, 0xc0));
    const QStyle::State on = QStyle::State_Enabled | QStyle::State_Active;
    QStyleOptionButton option;
    // Twice over: the second round is drawn from the panels the first one made.
    for (int round = 0; round < 2; ++round)
        for (const QPalette &palette : {QApplication::palette(), other})
            for (const QStyle::State state : {on, on | QStyle::State_HasFocus, on | QStyle::State_MouseOver,
                                              on | QStyle::State_Sunken, QStyle::State(QStyle::State_Active)})
                for (const auto features : {QStyleOptionButton::None, QStyleOptionButton::DefaultButton})
                    for (const QRect &place : {QRect(13, 7, 137, 25), QRect(5, 3, 73, 43), QRect(9, 5, 73, 25)}) {
                        option.palette = palette;
                        option.state = state;
                        option.features = features;
                        option.rect = place;
                        ASSERT_EQ(bevel(*QApplication::style(), option), bevel(*fusion, option))
                            << "round " << round << ", state " << int(state) << ", " << place.width() << " wide";
                    }
}

using ButtonPanelsInPlay = ShellFixture;

TEST_F(ButtonPanelsInPlay, AQuestionAfterTheFirstDrawsEveryButtonFromKeptPanels)
{
    enterQuiz(0);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&question()));
    // Options, the right answer, Next: each click repaints three or four buttons in a new look.
    for (int asked = 1; asked <= 3; ++asked) {
        const qsizetype kept = keptPanels();
        m_random.pick(asked, quiz::kRandomEntries);
        for (QWidget *control : std::initializer_list<QWidget *>{&button("cmdOptions"),
                                   &box(quiz::correctOptionFor(question().game().state().qIndex)), &button("cmdNext")}) {
            click(*control);
            QCoreApplication::processEvents();
        }
        if (asked == 1)
            EXPECT_GT(keptPanels(), 0);
        else
            EXPECT_EQ(keptPanels(), kept) << "question " << asked;
    }
}

}  // namespace screens_test
