// Own
#include "question_window.h"
#include "platform.h"
#include "question_layout.h"
#include "widgets.h"

// Qt
#include <QCheckBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QSignalBlocker>

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
    for (std::size_t i = 0; i < quiz::kOptionCount; ++i) {
        QCheckBox &box = *m_boxes[i];
        const QSignalBlocker blocker(box);
        box.setChecked(c.boxes[i].ticked);
        box.setEnabled(c.boxes[i].enabled);
        box.setVisible(c.boxes[i].visible);
        applyLabel(*m_options[i], c.options[i], kOptions[i].font);
        const QString option = QStringLiteral("Option %1").arg(i + 1);
        const QString caption = toQString(c.options[i].caption);
        box.setAccessibleName(caption.isEmpty() ? option : option + QStringLiteral(": ") + caption);
        box.setAccessibleDescription(QStringLiteral("Tick to answer with option %1").arg(i + 1));
    }
    applyLabel(*m_question, c.question, kQuestion.font);
    applyLabel(*m_number, c.number, kNumber.font);
    m_number->setAccessibleName(QStringLiteral("Question ") + toQString(c.number.caption));
    applyLabel(*m_message, c.message, kMessage.font);
    applyLabel(*m_lifelineUsed, c.lifelineUsed, kLifelineUsed.font);
    applyButton(*m_showOptions, c.showOptions);
    applyButton(*m_lifeline, c.lifeline);
    applyButton(*m_next, c.next);
    applyButton(*m_quit, c.quit);
    m_optionFrames->setVisible(c.optionFrames.visible);
    m_questionFrame->setVisible(c.questionFrame.visible);
    m_happyFace->setVisible(c.happyFace.visible);
    m_sadFace->setVisible(c.sadFace.visible);
    // Each new question, the first of them included, starts with the focus on the first control
    // that can take it, so that a keyboard player can reveal the options at once.
    if (c.number.caption != m_posedNumber) {
        m_posedNumber = c.number.caption;
        focusFirstControl();
    }
    if (c.endTimer.running && !m_endTimer.isActive())
        m_endTimer.start();
    else if (!c.endTimer.running && m_endTimer.isActive())
        m_endTimer.stop();
}

void QuestionWindow::focusFirstControl()
{
    for (QWidget *w : m_tabOrder)
        if (w->isEnabled() && w->isVisibleTo(this)) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
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
    case Qt::Key_1:
    case Qt::Key_2:
    case Qt::Key_3:
    case Qt::Key_4:
        // The number keys tick their option as a click on its box would, judging and guard alike.
        m_game.clickBox(event->key() - Qt::Key_1 + 1);
        render();
        return;
    default:
        ScreenWindow::keyPressEvent(event);
    }
}

}  // namespace screens
