// The three screens against their designed layout, at 96 dpi: every control's pixel rectangle,
// captions, colours, fonts, stacking, tab order, and labels painting as QLabel paints.

// Own
#include "screen_fixture.h"
#include "screens/platform.h"
#include "screens/widgets.h"
#include "quiz/question_game.h"

// Qt
#include <QCoreApplication>
#include <QFocusEvent>
#include <QFontInfo>
#include <QGroupBox>
#include <QPushButton>

// Standard
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace screens_test {
namespace {

struct Expected {
    const char *name;
    QRect pixels;   // the design's twips divided by 15
};

using Layout = ShellFixture;

void expectRects(QWidget &window, const std::vector<Expected> &table)
{
    for (const Expected &e : table) {
        const QWidget *w = window.findChild<QWidget *>(QLatin1String(e.name));
        ASSERT_NE(w, nullptr) << e.name;
        EXPECT_EQ(w->geometry(), e.pixels) << e.name;
    }
}

int stackIndex(const QWidget &w) { return static_cast<int>(w.parentWidget()->children().indexOf(&w)); }

TEST_F(Layout, QuestionScreenControlsStandWhereDesigned)
{
    expectRects(question(), {
        {"Check4", {256, 296, 17, 17}},      {"Check3", {32, 296, 17, 17}},
        {"Check2", {256, 216, 17, 17}},      {"Check1", {32, 208, 17, 25}},
        {"cmdOptions", {176, 152, 137, 25}}, {"cmdQuit", {576, 24, 41, 25}},
        {"cmdLife", {520, 24, 41, 25}},      {"cmdNext", {520, 368, 73, 49}},
        {"lblLifeline", {504, 24, 65, 25}},  {"Image4", {8, 384, 57, 51}},
        {"Image3", {16, 368, 43, 42}},       {"lblQuestion", {64, 48, 425, 73}},
        {"Image2", {56, 40, 438, 97}},       {"lblAnsfour", {280, 288, 209, 57}},
        {"lblAnsthree", {56, 296, 193, 49}}, {"lblAnsTwo", {280, 216, 209, 49}},
        {"lblAnsOne", {56, 216, 193, 49}},   {"Image1", {32, 128, 470, 236}},
        {"lblQnum", {24, 48, 33, 41}},       {"lblTest", {80, 368, 393, 57}},
    });
}

TEST_F(Layout, TitleAndFarewellControlsStandWhereDesigned)
{
    expectRects(title(), {
        {"Label3", {152, 288, 441, 25}},  {"Label2", {152, 192, 257, 25}}, {"Label1", {152, 112, 417, 33}},
        {"lblDesc", {152, 240, 161, 25}}, {"lblName", {328, 240, 289, 25}}, {"lblPress", {152, 360, 313, 49}},
        {"lblAbort", {200, 408, 185, 33}},
    });
    m_shell.show(quiz::Screen::Farewell);
    expectRects(*m_shell.farewell(), {
        {"Frame1", {184, 288, 289, 49}}, {"Label4", {16, 16, 257, 25}}, {"Label3", {152, 200, 409, 41}},
        {"Label2", {152, 128, 313, 41}}, {"Label1", {408, 416, 177, 33}},
    });
    EXPECT_EQ(m_shell.farewell()->findChild<QLabel *>(QStringLiteral("Label4"))->parentWidget()->objectName(),
              QStringLiteral("Frame1"));
}

TEST_F(Layout, CaptionsAreShownVerbatim)
{
    EXPECT_EQ(button("cmdOptions").text(), QStringLiteral("Click me to see Options"));
    EXPECT_EQ(button("cmdQuit").text(), QStringLiteral("Quit"));
    EXPECT_EQ(button("cmdLife").text(), QStringLiteral("50-50"));
    EXPECT_EQ(button("cmdNext").text(), QStringLiteral("Next Question"));
    EXPECT_EQ(label("lblLifeline").text(), QStringLiteral("Lifeline Used"));
    for (int n = 1; n <= 4; ++n)
        EXPECT_TRUE(box(n).text().isEmpty()) << "a box shows only its tick box";

    auto titleText = [this](const char *name) { return child<QLabel>(title(), name).text(); };
    EXPECT_EQ(titleText("Label3"), QStringLiteral("  - : Its for fun and no actual prizes and honours for it : -"));
    EXPECT_EQ(titleText("Label2"), QStringLiteral("  Inspired From -  Pravikon ?"));
    EXPECT_EQ(titleText("Label1"), QStringLiteral("Tarvelo ?"));
    EXPECT_EQ(titleText("lblDesc"), QStringLiteral(" Written and Developed By : -"));
    EXPECT_EQ(titleText("lblName"), QStringLiteral("Tarvelo team"));
    EXPECT_EQ(titleText("lblPress"), QStringLiteral("Press any key to continue quizzing...."));
    EXPECT_EQ(titleText("lblAbort"), QStringLiteral("Press 'Esc' to Abort Quiz"));

    m_shell.show(quiz::Screen::Farewell);
    auto farewellText = [this](const char *name) { return child<QLabel>(*m_shell.farewell(), name).text(); };
    const QString invitation = farewellText("Label3");
    EXPECT_EQ(invitation.size(), 122);
    EXPECT_EQ(invitation, QStringLiteral(" You can send me your views and can get new") + QString(34, QLatin1Char(' ')) +
                              QStringLiteral("questions by sending mail on my e-mail id : -"));
    EXPECT_EQ(farewellText("Label2"), QStringLiteral(" Have you enjoyed it ....."));
    EXPECT_EQ(farewellText("Label1"), QStringLiteral("Takes due care of yourself......."));
    EXPECT_TRUE(farewellText("Label4").startsWith(QString(9, QLatin1Char(' ')) + QStringLiteral("tarvelo@example.org")));
}

QColor rgb(std::uint32_t bgr) { return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF)); }

TEST_F(Layout, ColoursFollowTheDesign)
{
    auto back = [](QWidget &w) { return w.palette().color(w.backgroundRole()); };
    auto text = [](QLabel &l) { return l.palette().color(QPalette::WindowText); };
    EXPECT_EQ(back(question()), QColor(Qt::black));
    EXPECT_EQ(back(title()), rgb(0xC0FFFF));
    EXPECT_EQ(back(label("lblTest")), QColor(Qt::black));
    EXPECT_EQ(text(label("lblQnum")), QColor(Qt::white));
    EXPECT_EQ(text(label("lblLifeline")), rgb(0x0000FF));
    EXPECT_EQ(back(box(1)), QColor(Qt::black));
    for (const char *name : {"Label3", "Label2", "Label1", "lblDesc", "lblName"})
        EXPECT_EQ(back(child<QLabel>(title(), name)), rgb(0xC0FFFF)) << name;
    EXPECT_EQ(text(child<QLabel>(title(), "Label3")), rgb(0x0000FF));
    EXPECT_EQ(text(child<QLabel>(title(), "Label1")), rgb(0x004080));
    EXPECT_EQ(text(child<QLabel>(title(), "lblDesc")), rgb(0xFF0000));
    EXPECT_EQ(back(child<QLabel>(title(), "lblPress")), rgb(0x80FF80));
    EXPECT_EQ(back(child<QLabel>(title(), "lblAbort")), rgb(0x80FF80));
    for (const char *name : {"lblPress", "lblAbort", "Label3"})
        EXPECT_TRUE(child<QLabel>(title(), name).autoFillBackground()) << name << " is opaque";

    m_shell.show(quiz::Screen::Farewell);
    QWidget &farewell = *m_shell.farewell();
    EXPECT_EQ(back(farewell), rgb(0xC0C0FF));
    EXPECT_EQ(text(child<QLabel>(farewell, "Label4")), rgb(0xFF0000));
    EXPECT_EQ(text(child<QLabel>(farewell, "Label3")), rgb(0x0040C0));
    EXPECT_EQ(text(child<QLabel>(farewell, "Label2")), rgb(0xFF00FF));
    EXPECT_EQ(text(child<QLabel>(farewell, "Label1")), QColor(Qt::black));
}

TEST_F(Layout, SystemColoursComeFromTheLightPaletteWhateverTheTheme)
{
    EXPECT_EQ(screens::toQColor(quiz::colours::kWindowText), QColor(Qt::black));
    EXPECT_EQ(screens::toQColor(quiz::colours::kButtonText), QColor(Qt::black));
    EXPECT_EQ(screens::toQColor(quiz::colours::kHighlight3d), QColor(Qt::white));
    EXPECT_GT(screens::toQColor(quiz::colours::kButtonFace).lightness(), 200);
    EXPECT_EQ(screens::toQColor(quiz::Colour{0x0080FF}), QColor(255, 128, 0)) << "0xBBGGRR order";
}

TEST_F(Layout, FontsAreTheDesignFacesSubstitutes)
{
    struct FontCase {
        QWidget *window;
        const char *name;
        const char *family;
        double points;
        bool bold;
    };
    m_shell.show(quiz::Screen::Farewell);
    const std::vector<FontCase> cases{
        {&question(), "cmdNext", "Liberation Sans", 9.75, true},
        {&question(), "lblQnum", "Liberation Sans", 9.75, true},
        {&question(), "cmdOptions", "Liberation Sans", 8, false},
        {&title(), "Label3", "Liberation Sans Narrow", 14.25, true},
        {&title(), "Label1", "Liberation Sans", 14.25, true},
        {&title(), "lblDesc", "Liberation Sans Narrow", 11.25, false},
        {&title(), "lblName", "Liberation Sans Narrow", 12, false},   // enlarged when the screen loads
        {&title(), "lblPress", "Liberation Sans", 12, false},
        {&title(), "lblAbort", "Liberation Sans", 10, false},
        {m_shell.farewell(), "Label4", "Liberation Serif", 11.25, false},
        {m_shell.farewell(), "Label3", "Liberation Serif", 12, false},
        {m_shell.farewell(), "Label2", "Z003", 14.25, true},
        {m_shell.farewell(), "Label1", "Liberation Sans", 9, false},
    };
    for (const FontCase &c : cases) {
        const QWidget &w = child<QWidget>(*c.window, c.name);
        const QFontInfo info(w.font());
        // fontconfig may add the foundry, as in "Z003 [urw]", where two files offer one family.
        EXPECT_TRUE(info.family() == QLatin1String(c.family) || info.family().startsWith(QLatin1String(c.family) + " ["))
            << c.name << ": got " << info.family().toStdString() << "; the face must be installed, not replaced";
        EXPECT_DOUBLE_EQ(w.font().pointSizeF(), c.points) << c.name;
        EXPECT_EQ(w.font().bold(), c.bold) << c.name;
    }
    // A game enlarges the question, its options and the message from their design size, and keeps
    // them so through every later write of those labels.
    enterQuiz(0);
    click(button("cmdOptions"));
    for (const char *name : {"lblQuestion", "lblAnsOne", "lblTest"})
        EXPECT_DOUBLE_EQ(label(name).font().pointSizeF(), quiz::kMessagePointSize) << name;
}

TEST_F(Layout, DialogFontCaptionsFitTheirBoxes)
{
    std::vector<QWidget *> controls{&button("cmdOptions"), &button("cmdQuit"), &button("cmdLife"),
                                    &button("cmdNext"), &label("lblLifeline"), &child<QLabel>(title(), "Label2"),
                                    &child<QLabel>(title(), "lblPress"), &child<QLabel>(title(), "lblAbort")};
    for (QWidget *w : controls) {
        const QString text = w->property("text").toString();
        const QFontMetrics metrics(w->font());
        const QRect needed = metrics.boundingRect(w->rect(), Qt::TextWordWrap, text);
        EXPECT_LE(needed.height(), w->height()) << w->objectName().toStdString();
        EXPECT_LE(needed.width(), w->width()) << w->objectName().toStdString();
    }
}

TEST_F(Layout, OverlapsAreStackedAsDesigned)
{
    auto above = [this](const char *top, const char *under) {
        EXPECT_GT(stackIndex(child<QWidget>(question(), top)), stackIndex(child<QWidget>(question(), under)))
            << top << " must be drawn over " << under;
    };
    above("lblQuestion", "Image2");
    for (const char *option : {"lblAnsOne", "lblAnsTwo", "lblAnsthree", "lblAnsfour"})
        above(option, "Image1");
    above("Image4", "Image3");
    above("Image2", "lblQnum");
    above("cmdLife", "lblLifeline");
    for (const char *control : {"Check1", "Check2", "Check3", "Check4", "cmdOptions", "cmdQuit", "cmdLife", "cmdNext"})
        for (const char *flat : {"lblLifeline", "Image4", "Image3", "lblQuestion", "Image2", "lblAnsfour", "Image1", "lblTest"})
            above(control, flat);
    EXPECT_GT(stackIndex(child<QWidget>(title(), "lblPress")), stackIndex(child<QWidget>(title(), "lblAbort")));
}

TEST_F(Layout, TabOrderRunsThroughButtonsThenBoxes)
{
    const std::vector<QString> expected{"cmdOptions", "cmdNext", "cmdQuit", "cmdLife", "Check1", "Check2", "Check3", "Check4"};
    QWidget *w = &button("cmdOptions");
    for (const QString &name : expected) {
        EXPECT_EQ(w->objectName(), name);
        do
            w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus && w != &question());
    }
    for (QLabel *l : question().findChildren<QLabel *>())
        EXPECT_EQ(l->focusPolicy(), Qt::NoFocus) << l->objectName().toStdString();
}

TEST_F(Layout, ResizingTheWindowMovesNoControl)
{
    enterQuiz(3);
    std::vector<QRect> before;
    const auto children = question().findChildren<QWidget *>();
    for (QWidget *w : children)
        before.push_back(w->geometry());
    question().resize(300, 200);
    question().resize(1600, 1200);
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(children[static_cast<qsizetype>(i)]->geometry(), before[i]);
}

// Counts the paint events a window itself receives, those of its controls aside.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget &window) : m_window(window) { window.installEventFilter(this); }
    ~PaintCounter() override { m_window.removeEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &m_window && event->type() == QEvent::Paint)
            ++count;
        return false;
    }

private:
    QWidget &m_window;
};

// A screen fills a whole display; each needless repaint of it is a whole frame drawn and sent again.
TEST_F(Layout, TakingOrLosingTheFocusRepaintsNoScreen)
{
    m_shell.show(quiz::Screen::Farewell);
    for (QWidget *screen : std::initializer_list<QWidget *>{&title(), m_shell.farewell()}) {
        SCOPED_TRACE(screen->objectName().toStdString());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(screen));
        QCoreApplication::processEvents();
        PaintCounter paints(*screen);
        QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(screen, &out);
        QFocusEvent in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QCoreApplication::sendEvent(screen, &in);
        QCoreApplication::processEvents();
        EXPECT_EQ(paints.count, 0);
        // The count sees a repaint when there is one.
        screen->update();
        QCoreApplication::processEvents();
        EXPECT_EQ(paints.count, 1);
    }
}

// What Qt's own QLabel paints for the same text, font, colours and size, set up as the screens'
// labels are: plain text wrapped at words, top left, no margin.
QImage qLabelPaints(const QLabel &shown)
{
    QLabel label;
    label.setTextFormat(Qt::PlainText);
    label.setWordWrap(true);
    label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label.setMargin(0);
    label.setIndent(0);
    label.setAutoFillBackground(true);
    label.setPalette(shown.palette());
    label.setFont(shown.font());
    label.setText(shown.text());
    label.resize(shown.size());
    return label.grab().toImage();
}

bool hasTwoColours(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != image.pixel(0, 0))
                return true;
    return false;
}

// The screens' labels keep their laid-out lines between paints; each must still paint pixel for
// pixel what QLabel paints, on every screen and after every kind of change.
TEST_F(Layout, LabelsPaintWhatQLabelPaints)
{
    int inked = 0;
    const auto compare = [&inked](QWidget &screen) {
        for (QLabel *shown : screen.findChildren<QLabel *>()) {
            SCOPED_TRACE(shown->objectName().toStdString());
            const QImage image = shown->grab().toImage();
            EXPECT_EQ(image, qLabelPaints(*shown));
            inked += hasTwoColours(image);
        }
    };
    forEachScreen(compare);
    EXPECT_GE(inked, 15) << "most labels carry text";

    screens::TextLabel label(nullptr);
    label.setAutoFillBackground(true);
    label.resize(160, 60);
    QImage before;
    const auto change = [&](const char *what, const std::function<void()> &apply) {
        SCOPED_TRACE(what);
        apply();
        const QImage after = label.grab().toImage();
        EXPECT_EQ(after, qLabelPaints(label));
        EXPECT_NE(after, before) << "the change shows";
        before = after;
    };
    change("first text", [&] { label.setText(QStringLiteral("Press any key to start")); });
    change("a text that wraps and runs out of the box",
           [&] { label.setText(QStringLiteral("Welcome to the quiz on computers; fifteen questions await you below")); });
    change("a text with a line break", [&] { label.setText(QStringLiteral("Press any key\nor Esc to leave")); });
    change("a larger bold font", [&] { label.setFont(screens::toQFont({"Times New Roman", 14.25, 700})); });
    change("a narrower box", [&] { label.resize(90, 60); });
    change("a new ink colour", [&] {
        QPalette palette = label.palette();
        palette.setColor(QPalette::WindowText, QColor(0xFF, 0x80, 0x00));
        label.setPalette(palette);
    });
}

}  // namespace
}  // namespace screens_test
