// Where the farewell lands beside the finished question screen: a tiling compositor shares the
// area out between the two, and then the question screen goes; a stacking desktop lays the farewell
// over it, and then nothing changes. The compositor's sizes are given here by hand.

// Own
#include "screen_fixture.h"

// Standard
#include <stdexcept>

namespace screens_test {
namespace {

class FarewellPlace : public ShellFixture {
protected:
    // A game of its own, quit once its options came, its farewell shown over the question screen.
    screens::FarewellWindow &reachFarewell(screens::ProgramShell &shell)
    {
        shell.start();
        m_random.pick(20, quiz::kRandomEntries);
        type(*shell.title(), 'x');
        screens::QuestionWindow &q = *shell.question();
        click(child<QAbstractButton>(q, "cmdOptions"));
        press(q, Qt::Key_Escape);
        // The farewell is measured against the question screen's area when it comes, which in a
        // game is six seconds after the question screen took the whole screen; here it comes at
        // once, so the question screen must have that area first.
        if (!QTest::qWaitFor([&q] { return q.frameGeometry() == q.screen()->availableGeometry(); }, 60000))
            throw std::runtime_error("the question screen never took the whole screen");
        q.endTimer().start(1);
        if (!QTest::qWaitFor([&shell] { return shell.farewell() != nullptr && shell.farewell()->isVisible(); }))
            throw std::runtime_error("the farewell never showed");
        return *shell.farewell();
    }

    // A size reaches the window through the platform, a few turns of the event loop later, as its
    // resize event; the shell answers that event at once. So the check that follows a new size is
    // made right after the event that brings it (an earlier size's late event does not count),
    // without a wait of its own that a busy machine could outlast.
    static void resize(screens::ScreenWindow &window, const QRect &to)
    {
        if (window.geometry() == to)
            return;   // no event is coming: the window has that place already
        bool arrived = false;
        const QMetaObject::Connection watch = QObject::connect(
            &window, &screens::ScreenWindow::resized, [&] { arrived = arrived || window.size() == to.size(); });
        window.setGeometry(to);
        const bool done = QTest::qWaitFor([&] { return arrived && window.geometry() == to; }, 60000);
        QObject::disconnect(watch);
        if (!done)
            throw std::runtime_error("the window never took its new size");
    }
};

struct Placement {
    const char *what;
    QRect question;   // in quarters of the area: x, y, width, height
    QRect farewell;
    bool farewellFirst;
    bool questionStays;
};

QRect inQuarters(const QRect &q, const QRect &area)
{
    const int w = area.width() / 4;
    const int h = area.height() / 4;
    return {area.x() + q.x() * w, area.y() + q.y() * h, q.width() * w, q.height() * h};
}

TEST_F(FarewellPlace, TheQuestionScreenGoesOnlyWhereTheAreaIsSharedOutBetweenThem)
{
    const QRect whole(0, 0, 4, 4);
    const Placement placements[] = {
        {"tiled side by side, the farewell sized first", {0, 0, 2, 4}, {2, 0, 2, 4}, true, false},
        {"tiled side by side, the question screen sized first", {0, 0, 2, 4}, {2, 0, 2, 4}, false, false},
        {"tiled one above the other", {0, 0, 4, 2}, {0, 2, 4, 2}, true, false},
        {"stacked, the farewell as large as the question screen", whole, whole, true, true},
        {"stacked, the farewell restored smaller by the player", whole, {1, 1, 3, 3}, true, true},
    };
    for (const Placement &p : placements) {
        SCOPED_TRACE(p.what);
        screens::ProgramShell shell{m_random};
        screens::FarewellWindow &f = reachFarewell(shell);
        screens::QuestionWindow &q = *shell.question();
        ASSERT_TRUE(QTest::qWaitFor([&] { return f.geometry() == q.geometry(); })) << "both fill the same area at first";
        const QRect area = q.geometry();

        if (p.farewellFirst)
            resize(f, inQuarters(p.farewell, area));
        resize(q, inQuarters(p.question, area));
        if (!p.farewellFirst)
            resize(f, inQuarters(p.farewell, area));
        EXPECT_EQ(q.isVisible(), p.questionStays);
        EXPECT_TRUE(f.isVisible());
        EXPECT_FALSE(shell.ended());
        type(f, 'q');
        EXPECT_TRUE(shell.ended()) << "a key still ends the run";
    }
}

}  // namespace
}  // namespace screens_test
