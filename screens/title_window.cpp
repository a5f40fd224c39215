// Own
#include "title_window.h"
#include "accessibility.h"
#include "platform.h"
#include "title_layout.h"

// Qt
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>

namespace screens {

TitleWindow::TitleWindow(quiz::ScreenSwitcher &screens)
    : ScreenWindow(screens, title::kBackground), m_rules(screens)
{
    using namespace title;
    setObjectName(QStringLiteral("Form1"));
    setFocusPolicy(Qt::StrongFocus);
    setSpokenAsDialog();
    const double d = dpi();

    // Created bottom-most first: Qt stacks later siblings above earlier ones.
    m_abort = makeLabel(this, kAbort.geometry, d);
    m_abort->setObjectName(QStringLiteral("lblAbort"));
    m_press = makeLabel(this, kPress.geometry, d);
    m_press->setObjectName(QStringLiteral("lblPress"));
    m_name = makeLabel(this, kName.geometry, d);
    m_name->setObjectName(QStringLiteral("lblName"));
    for (auto it = kStaticLabels.rbegin(); it != kStaticLabels.rend(); ++it) {
        QLabel *label = makeLabel(this, it->geometry, d);
        label->setObjectName(QLatin1String(it->name));
        applyLabel(*label, {std::string(it->caption), it->text, it->back}, it->font);
        if (it->name == std::string_view("lblDesc"))
            m_credit = label;
    }

    for (int i = 0; i < quiz::kTitleTimerCount; ++i) {
        QTimer &timer = m_timers[static_cast<std::size_t>(i)];
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(quiz::kTitleTimerIntervalsMs[static_cast<std::size_t>(i)]);
        connect(&timer, &QTimer::timeout, this, [this, i] { m_rules.timerFired(i); render(); });
    }
    // The icon is decoded once the first frame is on the display: the player sees the screen sooner.
    connect(this, &ScreenWindow::firstFrameShown, this, [this] { setWindowIcon(QIcon(toQString(title::kIcon))); });
    m_rules.load();
    render();
}

void TitleWindow::keyPressEvent(QKeyEvent *event)
{
    const int code = characterCode(*event);
    if (code == 0) {
        ScreenWindow::keyPressEvent(event);
        return;
    }
    m_rules.keyPressed(code);
    render();
}

void TitleWindow::stopTimers()
{
    for (QTimer &timer : m_timers)
        timer.stop();
}

void TitleWindow::render()
{
    using namespace title;
    const quiz::TitleControls &c = m_rules.controls();
    quiz::Label name = c.name;
    name.caption = kAuthorCredit;
    applyLabel(*m_name, name, kName.font);
    // The credit and the name beside it are one line to the ear; a screen reader reading the
    // screen out passes over texts as short as the name alone.
    setSpoken(*m_credit, m_credit->text() + QLatin1Char(' ') + toQString(kAuthorCredit));
    applyLabel(*m_press, c.press, kPress.font);
    applyLabel(*m_abort, c.abort, kAbort.font);
    for (std::size_t i = 0; i < m_timers.size(); ++i) {
        if (c.timers[i].running && !m_timers[i].isActive())
            m_timers[i].start();
        else if (!c.timers[i].running && m_timers[i].isActive())
            m_timers[i].stop();
    }
}

}  // namespace screens
