// Own
#include "farewell_window.h"
#include "accessibility.h"
#include "farewell_layout.h"
#include "platform.h"
#include "quiz/question_bank.h"
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
    setSpokenAsDialog();
    const double d = dpi();
    auto place = [d](QWidget *parent, const StaticLabel &design) {
        QLabel *label = makeLabel(parent, design.geometry, d);
        label->setObjectName(QLatin1String(design.name));
        applyLabel(*label, {std::string(design.caption), design.text, design.back}, design.font);
        return label;
    };

    // Created bottom-most first: Qt stacks later siblings above earlier ones.
    QLabel *invitation = nullptr;
    for (auto it = kLabels.rbegin(); it != kLabels.rend(); ++it) {
        QLabel *label = place(this, *it);
        if (it->caption == kInvitation)
            invitation = label;
    }
    auto *frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(toPixels(kFrame, d));
    frame->setAutoFillBackground(true);
    QPalette p = frame->palette();
    p.setColor(QPalette::Window, toQColor(kBackground));
    frame->setPalette(p);
    frame->setFocusPolicy(Qt::NoFocus);
    place(frame, kContact);

    // The address is read with the invitation it ends: alone it is too short for a screen reader
    // reading the screen out. What ends the program is said, though nothing on the screen shows it.
    setSpoken(*invitation, invitation->text() + QLatin1Char(' ') + toQString(quiz::trimSpaces(kContact.caption)));
    auto *hint = new SpokenLine(SpokenLine::Kind::Hint, this);
    hint->setText(QStringLiteral("Press any key to end the program."));
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
