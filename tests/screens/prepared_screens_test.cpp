// The screens that follow the title are made ready while the player reads it, hidden, all but their
// frames; the farewell's frame is drawn while the questions show. Made ready, each shows on the
// display exactly what it shows unprepared; and the farewell comes when the game's wait is over,
// never before.

// Own
#include "screen_fixture.h"
#include "screens/farewell_window.h"

// Qt
#include <QApplication>
#include <QBackingStore>
#include <QElapsedTimer>
#include <QPixmap>
#include <QScreen>

// System
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

// Standard
#include <cstdint>
#include <vector>

namespace screens_test {
namespace {

using PreparedScreens = ShellFixture;

class NoScreens : public quiz::ScreenSwitcher {
public:
    void show(quiz::Screen) override {}
    void hide(quiz::Screen) override {}
    void endProgram() override {}
};

// What the display holds of a window: the frame the platform was given, not a fresh drawing.
QImage onDisplay(QWidget &window) { return window.screen()->grabWindow(window.winId()).toImage(); }

void showAndWait(screens::ScreenWindow &window)
{
    window.showMaximizedOnScreen();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(50);   // the first frame follows the exposure
}

TEST_F(PreparedScreens, OnceTheTitleIsDrawnTheScreensThatFollowAreReadyAndNoneShows)
{
    // Not while the title's first frame goes out: that frame would wait for theirs.
    bool readyAtFirstFrame = true;
    QObject::connect(&title(), &screens::ScreenWindow::firstFrameShown, &title(),
                     [&] { readyAtFirstFrame = question().testAttribute(Qt::WA_WState_Created); });
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&title()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_shell.farewell() != nullptr; })) << "the farewell is made ready";
    for (QWidget *w : {static_cast<QWidget *>(&question()), static_cast<QWidget *>(m_shell.farewell())}) {
        SCOPED_TRACE(w->objectName().toStdString());
        EXPECT_TRUE(w->testAttribute(Qt::WA_WState_Created)) << "its native window exists";
        EXPECT_FALSE(w->isVisible());
        // A frame is a screenful of memory, held for as long as the title shows.
        EXPECT_TRUE(w->backingStore() == nullptr || w->backingStore()->size().isEmpty()) << "a frame is held";
    }
    EXPECT_FALSE(readyAtFirstFrame) << "made ready with the title's first frame";
    EXPECT_TRUE(title().isVisible());
    EXPECT_FALSE(question().game().started());
}

TEST_F(PreparedScreens, WhileTheQuestionsShowTheFarewellsFrameIsDrawn)
{
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_shell.farewell() != nullptr; }));
    enterQuiz(3);
    screens::FarewellWindow &farewell = *m_shell.farewell();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !farewell.backingStore()->size().isEmpty(); }))
        << "no frame is drawn for the farewell";
    EXPECT_EQ(farewell.backingStore()->size(), farewell.size());
    EXPECT_FALSE(farewell.isVisible());
    EXPECT_TRUE(question().isVisible());
}

TEST(PreparedScreen, ShowsOnTheDisplayWhatItShowsUnprepared)
{
    NoScreens nowhere;
    {
        screens::FarewellWindow prepared(nowhere);
        screens::FarewellWindow plain(nowhere);
        prepared.prepare();
        prepared.prepareFrame();
        showAndWait(prepared);
        showAndWait(plain);
        EXPECT_EQ(onDisplay(prepared), onDisplay(plain)) << "the farewell";
    }
    // The question screen changes between being made ready and being shown: the first question.
    ScriptedRandom random;
    random.pick(5, quiz::kRandomEntries);
    random.pick(5, quiz::kRandomEntries);
    screens::QuestionWindow prepared(random, nowhere);
    screens::QuestionWindow plain(random, nowhere);
    prepared.prepare();
    for (screens::QuestionWindow *w : {&prepared, &plain}) {
        showAndWait(*w);
        w->activated();
        QTest::qWait(50);
    }
    EXPECT_EQ(onDisplay(prepared), onDisplay(plain)) << "the question screen";
}

// Notes the moment the farewell is shown, as the show happens.
class FarewellShown : public QObject {
public:
    explicit FarewellShown(const QElapsedTimer &clock) : m_clock(clock) { qApp->installEventFilter(this); }
    ~FarewellShown() override { qApp->removeEventFilter(this); }
    qint64 at = -1;

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (at < 0 && event->type() == QEvent::Show && object->objectName() == QLatin1String("frnEnd"))
            at = m_clock.elapsed();
        return false;
    }

private:
    const QElapsedTimer &m_clock;
};

// The share of a window's frame that is in memory, or -1 where the platform holds no frame for it.
double residentFrame(QWidget &window)
{
    const auto *frame = dynamic_cast<const QImage *>(window.backingStore()->paintDevice());
    if (frame == nullptr || frame->size() != window.size())
        return -1;
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto first = reinterpret_cast<std::uintptr_t>(frame->constBits()) & ~(page - 1);
    const auto end = reinterpret_cast<std::uintptr_t>(frame->constBits()) + static_cast<std::uintptr_t>(frame->sizeInBytes());
    std::vector<unsigned char> pages((end - first + page - 1) / page);
    if (mincore(reinterpret_cast<void *>(first), end - first, pages.data()) != 0)
        return -1;
    std::size_t in = 0;
    for (const unsigned char p : pages)
        in += p & 1U;
    return static_cast<double>(in) / static_cast<double>(pages.size());
}

TEST(PreparedScreen, ItsFirstPaintDrawsIntoMemoryAlreadyTaken)
{
    // Every frame a mapping of its own, whose pages come only as they are written or asked for: so
    // is a plain window's, until it is drawn.
    ASSERT_EQ(mallopt(M_MMAP_THRESHOLD, 128 * 1024), 1);
    QWidget plain;
    plain.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    plain.winId();
    plain.backingStore()->resize(plain.size());
    ASSERT_LT(residentFrame(plain), 0.5) << "a plain window's frame is in memory before it is drawn";

    NoScreens nowhere;
    screens::FarewellWindow screen(nowhere);
    // Paints come from the event loop, which has not run yet.
    screen.showMaximizedOnScreen();
    EXPECT_EQ(residentFrame(screen), 1.0);
}

TEST_F(PreparedScreens, TheFarewellComesWhenTheWaitIsOverNeverBefore)
{
    enterQuiz(9);
    click(button("cmdOptions"));
    QElapsedTimer clock;
    FarewellShown shown(clock);
    clock.start();
    click(button("cmdQuit"));   // the wait starts inside this click
    const qint64 clicked = clock.elapsed();
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown.at >= 0; }, 8000)) << "the farewell never came";
    EXPECT_GE(shown.at, quiz::kEndDelayMs) << "the farewell came before its time";
    EXPECT_LE(shown.at - clicked, quiz::kEndDelayMs + 250) << "the farewell came late";
}

}  // namespace
}  // namespace screens_test
