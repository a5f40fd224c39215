// Own
#include "farewell_window.h"
#include "farewell_layout.h"
#include "platform.h"
#include "quiz/title_rules.h"

// Qt
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>

namespace screens {

FarewellWindow::FarewellWindow(quiz::ScreenSwitcher &screens) : ScreenWindow(screens, farewell::kBackground)
{
    using namespace farewell;
    setObjectName(QStringLiteral("frnEnd"));
    setFocusPolicy(Qt::StrongFocus);
    const double d = dpi();
    auto place = [d](QWidget *parent, const StaticLabel &design) {
        QLabel *label = makeLabel(parent, design.geometry, d);
        label->setObjectName(QLatin1String(design.name));
        applyLabel(*label, {std::string(design.caption), design.text, design.back}, design.font);
    };

    // Created bottom-most first: Qt stacks later siblings above earlier ones.
    for (auto it = kLabels.rbegin(); it != kLabels.rend(); ++it)
        place(this, *it);
    auto *frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(toPixels(kFrame, d));
    frame->setAutoFillBackground(true);
    QPalette p = frame->palette();
    p.setColor(QPalette::Window, toQColor(kBackground));
    frame->setPalette(p);
    frame->setFocusPolicy(Qt::NoFocus);
    place(frame, kContact);
}

void FarewellWindow::keyPressEvent(QKeyEvent *event)
{
    if (characterCode(*event) == 0) {
        ScreenWindow::keyPressEvent(event);
        return;
    }
    quiz::farewellKeyPressed(screens());
}

}  // namespace screens
