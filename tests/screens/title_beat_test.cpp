// The title screen's colour beat on a simulated clock: the window's own four timers are fired whenever
// their own intervals fall due, and what the labels show is read back after every millisecond.

// Own
#include "screen_fixture.h"

// Qt
#include <QCoreApplication>
#include <QTimerEvent>

// Standard
#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace screens_test {
namespace {

// Which timer of a label's pair set its colour last: the 1000 ms one or the 1500 ms one.
enum class Beat { Fast, Slow };

// From the moment the timers start a label shows its slow colour, set at load, until 1000 ms; the
// fast one from 1000, the slow one from 1500, the fast one from 2000. At 3000 ms both timers are due
// at once and the platform may handle them in either order: the colour of the one handled last holds
// until 4000. The round then repeats every 3000 ms.
Beat beatAt(int ms, Beat handledLastWhenDueTogether)
{
    if (ms < 1000)
        return Beat::Slow;
    const int phase = ms % 3000;
    if (phase < 1000)
        return handledLastWhenDueTogether;
    if (phase < 1500)
        return Beat::Fast;
    return phase < 2000 ? Beat::Slow : Beat::Fast;
}

struct Shown {
    QString caption;
    QColor colour;
    friend bool operator==(const Shown &, const Shown &) = default;
};

void PrintTo(const Shown &s, std::ostream *os)
{
    *os << '"' << s.caption.toStdString() << "\" in " << s.colour.name().toStdString();
}

Shown shown(const QLabel &l) { return {l.text(), l.palette().color(QPalette::WindowText)}; }

// A tick as the event dispatcher delivers it: the timer's own timer event, which emits timeout().
void fire(QTimer &timer)
{
    QTimerEvent tick(timer.timerId());
    QCoreApplication::sendEvent(&timer, &tick);
}

TEST(TitleBeat, PromptAndCreditChangeColourEveryThousandAndFifteenHundredMilliseconds)
{
    const QString pressCaption = QStringLiteral("Press any key to continue quizzing....");
    const QString nameCaption = QStringLiteral("Tarvelo team");
    const Shown abortPrompt{QStringLiteral("Press 'Esc' to Abort Quiz"), QColor(Qt::black)};
    // 0x0080FF, 0xFF0000, 0x000000 and 0xFF00FF, written 0xBBGGRR.
    const QColor orange(255, 128, 0), blue(0, 0, 255), black(0, 0, 0), magenta(255, 0, 255);

    // Timers due together are handled in the order Timer1 .. Timer4 in one run, so that the 1500 ms
    // Timer2 and Timer4 come last, and in the reverse order in the other.
    for (const Beat lastWhenDueTogether : {Beat::Slow, Beat::Fast}) {
        SCOPED_TRACE(lastWhenDueTogether == Beat::Slow ? "1500 ms timers handled last" : "1000 ms timers handled last");
        ScriptedRandom random;
        screens::ProgramShell shell(random);
        shell.start();
        screens::TitleWindow &title = *shell.title();
        auto &timers = title.timers();
        std::vector<QTimer *> order;
        for (QTimer &t : timers) {
            ASSERT_TRUE(t.isActive());
            ASSERT_GT(t.interval(), 0);
            EXPECT_EQ(t.timerType(), Qt::PreciseTimer) << "a coarse timer may be 5 % late and blur the beat";
            order.push_back(&t);
        }
        if (lastWhenDueTogether == Beat::Fast)
            std::reverse(order.begin(), order.end());

        const QLabel *press = title.findChild<QLabel *>(QStringLiteral("lblPress"));
        const QLabel *name = title.findChild<QLabel *>(QStringLiteral("lblName"));
        const QLabel *abort = title.findChild<QLabel *>(QStringLiteral("lblAbort"));
        ASSERT_TRUE(press != nullptr && name != nullptr && abort != nullptr);
        for (int ms = 0; ms <= 6000; ++ms) {
            for (QTimer *t : order)
                if (ms > 0 && t->isActive() && ms % t->interval() == 0)
                    fire(*t);
            const bool fast = beatAt(ms, lastWhenDueTogether) == Beat::Fast;
            const Shown expectedPress{pressCaption, fast ? orange : blue};
            const Shown expectedName{nameCaption, fast ? black : magenta};
            if (shown(*press) != expectedPress || shown(*name) != expectedName || shown(*abort) != abortPrompt) {
                SCOPED_TRACE("at " + std::to_string(ms) + " ms");
                EXPECT_EQ(shown(*press), expectedPress) << "lblPress";
                EXPECT_EQ(shown(*name), expectedName) << "lblName";
                EXPECT_EQ(shown(*abort), abortPrompt) << "lblAbort";
                break;   // the first moment off the beat says enough
            }
        }
    }
}

}  // namespace
}  // namespace screens_test
