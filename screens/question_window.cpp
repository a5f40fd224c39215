// Own
#include "question_window.h"
#include "accessibility.h"
#include "answer_keys.h"
#include "platform.h"
#include "question_layout.h"
#include "quiz/spoken.h"
#include "widgets.h"

// Qt
#include <QCheckBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QSignalBlocker>

// Standard
#include <utility>

namespace screens {
namespace {

void applyButton(QPushButton &button, const quiz::Button &state)
{
    button.setEnabled(state.enabled);
    button.setVisible(state.visible);
}

}  // namespace

QuestionWindow::QuestionWindow(quiz::RandomSource &random, quiz::ScreenSwitcher &screens)
    : ScreenWindow(screens, question::kBackground), m_game(random, screens)
{
    setObjectName(QStringLiteral("frmQuestion"));
    m_endTimer.setTimerType(Qt::PreciseTimer);
    m_endTimer.setInterval(quiz::kEndDelayMs);
    // Qt sleeps in poll() until its next timer is due, and the kernel lets a sleep end up to a
    // thousandth of its length late: 6 ms of the end of a game's 6000. A wake-up shortly before
    // leaves a last sleep short enough to end on time.
    m_wakeBeforeEnd.setTimerType(Qt::PreciseTimer);
    m_wakeBeforeEnd.setSingleShot(true);
    m_wakeBeforeEnd.setInterval(quiz::kEndDelayMs - kLastSleepMs);
    buildControls();
    wireControls();
    m_game.load();
    render();
}

void QuestionWindow::activated()
{
    m_game.activate();
    render();
}

// Controls are created bottom-most first: Qt stacks later siblings above earlier ones.
void QuestionWindow::buildControls()
{
    using namespace question;
    const double d = dpi();
    auto picture = [this, d](const Geometry &g, std::string_view resource, const char *name) {
        auto *box = new PictureBox(toQString(resource), this);
        box->setGeometry(toPixels(g, d));
        box->setObjectName(QLatin1String(name));
        return box;
    };
    auto label = [this, d](const Control &c, const char *name) {
        QLabel *l = makeLabel(this, c.geometry, d);
        l->setObjectName(QLatin1String(name));
        return l;
    };
    auto button = [this, d](const ButtonDesign &b, const char *name) {
        auto *w = new WrappingButton(toQString(b.caption), this);
        w->setGeometry(toPixels(b.control.geometry, d));
        w->setFont(toQFont(b.control.font));
        w->setObjectName(QLatin1String(name));
        w->setAutoDefault(false);
        return w;
    };

    m_message = label(kMessage, "lblTest");
    m_number = label(kNumber, "lblQnum");
    m_optionFrames = picture(kOptionFrames, kOptionFramesPicture, "Image1");
    static constexpr std::array<const char *, quiz::kOptionCount> kOptionNames{
        "lblAnsOne", "lblAnsTwo", "lblAnsthree", "lblAnsfour"};
    for (int i = 0; i < quiz::kOptionCount; ++i)
        m_options[static_cast<std::size_t>(i)] = label(kOptions[static_cast<std::size_t>(i)], kOptionNames[static_cast<std::size_t>(i)]);
    m_questionFrame = picture(kQuestionFrame, kQuestionFramePicture, "Image2");
    m_question = label(kQuestion, "lblQuestion");
    m_happyFace = picture(kHappyFace, kHappyFacePicture, "Image3");
    m_sadFace = picture(kSadFace, kSadFacePicture, "Image4");
    m_lifelineUsed = label(kLifelineUsed, "lblLifeline");
    m_optionFrames->setDecorative(true);
    m_questionFrame->setDecorative(true);
    m_happyFace->setAccessibleName(QStringLiteral("happy face"));
    m_sadFace->setAccessibleName(QStringLiteral("sad face"));

    m_next = button(kNext, "cmdNext");
    m_lifeline = button(kLifeline, "cmdLife");
    m_quit = button(kQuit, "cmdQuit");
    m_showOptions = button(kShowOptions, "cmdOptions");
    for (int i = quiz::kOptionCount - 1; i >= 0; --i) {
        auto *box = new QCheckBox(this);
        box->setGeometry(toPixels(kBoxes[static_cast<std::size_t>(i)].geometry, d));
        box->setObjectName(QStringLiteral("Check%1").arg(i + 1));
        box->setAutoFillBackground(true);
        box->setBackgroundRole(QPalette::Window);   // a button paints its Button role by default
        QPalette p = box->palette();
        p.setColor(QPalette::Window, toQColor(kBoxBack));
        p.setColor(QPalette::WindowText, toQColor(kBoxText));
        box->setPalette(p);
        m_boxes[static_cast<std::size_t>(i)] = box;
    }

    // Tab order: cmdOptions, cmdNext, cmdQuit, cmdLife, then the four boxes; labels never take focus.
    m_tabOrder = {m_showOptions, m_next, m_quit, m_lifeline, m_boxes[0], m_boxes[1], m_boxes[2], m_boxes[3]};
    m_announcer = new SpokenLine(SpokenLine::Kind::Announcement, this);
    for (std::size_t i = 0; i + 1 < m_tabOrder.size(); ++i)
        setTabOrder(m_tabOrder[i], m_tabOrder[i + 1]);
}

void QuestionWindow::wireControls()
{
    connect(m_showOptions, &QPushButton::clicked, this, [this] { m_game.pressShowOptions(); render(); });
    connect(m_lifeline, &QPushButton::clicked, this, [this] { m_game.pressLifeline(); render(); });
    connect(m_next, &QPushButton::clicked, this, [this] { m_game.pressNext(); render(); });
    connect(m_quit, &QPushButton::clicked, this, [this] { m_game.pressQuit(); render(); });
    for (int i = 0; i < quiz::kOptionCount; ++i)
        connect(m_boxes[static_cast<std::size_t>(i)], &QCheckBox::clicked, this,
                [this, option = i + 1] { m_game.clickBox(option); render(); });
    connect(&m_endTimer, &QTimer::timeout, this, [this] { m_game.timerFired(); render(); });
}

// The only place that writes widget properties. Signals stay blocked while it writes, so that a tick
// set here never reaches the game as if the player had clicked.
void QuestionWindow::render()
{
    using namespace question;
    const quiz::QuestionControls &c = m_game.controls();
    const quiz::Control target = quiz::focusAfter(m_rendered, c, focusedControl());
    const std::string said = quiz::announcement(m_rendered, c, quiz::correctOptionFor(m_game.state().qIndex));
    const quiz::QuestionControls before = std::exchange(m_rendered, c);
    const auto written = [this](const quiz::Label &label) { return m_drawn ? &label : nullptr; };

    // What the controls say is written first, so that the focus arrives at a control that says it.
    for (std::size_t i = 0; i < quiz::kOptionCount; ++i) {
        const int option = static_cast<int>(i) + 1;
        setSpoken(*m_boxes[i], toQString(quiz::boxName(c, option)), toQString(quiz::boxDescription(c, option)));
    }
    setSpoken(*m_showOptions, {}, toQString(quiz::spokenQuestion(c)));
    setSpoken(*m_number, QStringLiteral("Question ") + toQString(c.number.caption));

    // The focus moves before anything is disabled or hidden under it: Qt would otherwise hand it
    // down the tab order, and a screen reader would name every control it passed.
    if (QWidget *next = widgetOf(target)) {
        const QSignalBlocker blocker(next);
        next->setEnabled(true);
        next->setVisible(true);
        if (focusWidget() != next)
            next->setFocus(Qt::OtherFocusReason);
    } else if (QWidget *focused = focusWidget()) {
        focused->clearFocus();
    }

    for (std::size_t i = 0; i < quiz::kOptionCount; ++i) {
        QCheckBox &box = *m_boxes[i];
        const QSignalBlocker blocker(box);
        box.setChecked(c.boxes[i].ticked);
        box.setEnabled(c.boxes[i].enabled);
        box.setVisible(c.boxes[i].visible);
        applyLabel(*m_options[i], c.options[i], kOptions[i].font, written(before.options[i]));
    }
    applyLabel(*m_question, c.question, kQuestion.font, written(before.question));
    applyLabel(*m_number, c.number, kNumber.font, written(before.number));
    applyLabel(*m_message, c.message, kMessage.font, written(before.message));
    applyLabel(*m_lifelineUsed, c.lifelineUsed, kLifelineUsed.font, written(before.lifelineUsed));
    applyButton(*m_showOptions, c.showOptions);
    applyButton(*m_lifeline, c.lifeline);
    applyButton(*m_next, c.next);
    applyButton(*m_quit, c.quit);
    m_optionFrames->setVisible(c.optionFrames.visible);
    m_questionFrame->setVisible(c.questionFrame.visible);
    m_happyFace->setVisible(c.happyFace.visible);
    m_sadFace->setVisible(c.sadFace.visible);
    if (c.endTimer.running && !m_endTimer.isActive()) {
        m_endTimer.start();
        m_wakeBeforeEnd.start();
    } else if (!c.endTimer.running && m_endTimer.isActive()) {
        stopTimers();
    }

    m_drawn = true;

    // Last, after every focus move: the focus's own speech would cut it off.
    m_announcer->announce(toQString(said));
}

quiz::Control QuestionWindow::focusedControl() const
{
    const QWidget *focused = focusWidget();
    for (std::size_t i = 0; i < m_tabOrder.size(); ++i)
        if (m_tabOrder[i] == focused)
            return quiz::kTabOrder[i];
    return quiz::Control::None;
}

QWidget *QuestionWindow::widgetOf(quiz::Control control) const
{
    for (std::size_t i = 0; i < m_tabOrder.size(); ++i)
        if (quiz::kTabOrder[i] == control)
            return m_tabOrder[i];
    return nullptr;
}

bool QuestionWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        activated();
    return ScreenWindow::event(event);
}

void QuestionWindow::keyPressEvent(QKeyEvent *event)
{
    // "Next Question" is the default button and "Quit" the cancel button, as a dialog's OK and Cancel.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_game.pressNext();
        render();
        return;
    case Qt::Key_Escape:
        m_game.pressQuit();
        render();
        return;
    default:
        break;
    }
    // The answer keys tick their option as a click on its box would, judging and guard alike.
    if (const int option = answeredOption(*event); option != 0) {
        m_game.clickBox(option);
        render();
        return;
    }
    ScreenWindow::keyPressEvent(event);
}

}  // namespace screens
