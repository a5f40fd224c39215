// At twice the scale, by QT_SCALE_FACTOR or by a 192 dpi X resource, every screen must be the
// 96 dpi screen drawn twice as large: layout, fonts and pictures together.

// Own
#include "e2e.h"
#include "screens/question_layout.h"

// Standard
#include <future>
#include <iostream>

namespace e2e {
namespace {

using driver::Screen;
namespace question = screens::question;

// How far a halved screenshot may differ from the 96 dpi one (root mean square, 0..1): glyphs are
// hinted differently at each size, a moved or unscaled control is far above it.
constexpr double kTolerance = 0.06;

struct Screens {
    QImage title;      // in the phase of its colour beat after the first tick
    QImage question;   // with its options shown
    QImage farewell;
};

// Plays title, question with its options, Quit and the farewell screen, shooting each screen.
Screens playAndShoot(driver::Session &s)
{
    driver::Process &game = s.launch({gamePath()});
    Screens shots;
    s.waitForScreen(Screen::Title, 10s);
    shots.title = driver::shootTitleAfterFirstTick(s);
    s.key("a");
    s.waitForScreen(Screen::Question, 5s);
    driver::revealOptions(s);
    s.waitUntilStill();
    shots.question = s.shot();
    s.click(question::kQuit.control.geometry);
    s.waitForScreen(Screen::Farewell, 10s);
    s.waitUntilStill();
    shots.farewell = s.shot();
    s.key("space");
    const int status = game.waitExit(5s);
    if (status != 0)
        s.fail("the game ended with status " + std::to_string(status));
    return shots;
}

// From the screen's corner to the far edges of every control, at a scale.
QRect compared(int scale)
{
    const QRect controls = driver::controlsArea(scale);
    return QRect(0, 0, controls.right() + 1, controls.bottom() + 1);
}

// Each run draws its own question: the texts that change with it are masked on the question screen.
std::vector<QRect> questionTexts()
{
    std::vector<QRect> texts{driver::placeOf(question::kQuestion.geometry),
                             driver::placeOf(question::kMessage.geometry)};
    for (const question::Control &option : question::kOptions)
        texts.push_back(driver::placeOf(option.geometry));
    return texts;
}

class Scaling : public E2e {
protected:
    // The same game at 96 dpi and at twice the scale, on two displays at once.
    void expectTwiceAsLarge(const driver::Session::Options &twice)
    {
        driver::Session &base = session();
        driver::Session &scaled = session(twice);
        ASSERT_EQ(scaled.scale(), 2);
        auto baseShots = std::async(std::launch::async, [&base] { return playAndShoot(base); });
        const Screens large = playAndShoot(scaled);
        const Screens small = baseShots.get();

        // The comparison must tell two screens apart, or it proves nothing.
        const double apart = driver::rmse(small.title.copy(compared(1)), small.question.copy(compared(1)));
        std::cout << "title and question screens apart by " << apart << std::endl;
        EXPECT_GT(apart, 5 * kTolerance) << "the comparison cannot tell the title from the question screen";

        const std::vector<std::pair<const char *, QImage Screens::*>> screens{
            {"title", &Screens::title}, {"question", &Screens::question}, {"farewell", &Screens::farewell}};
        for (const auto &[name, shot] : screens) {
            const std::vector<QRect> mask = shot == &Screens::question ? questionTexts() : std::vector<QRect>{};
            const QImage expected = driver::masked((small.*shot).copy(compared(1)), mask);
            const QImage halved = driver::masked(driver::halved((large.*shot).copy(compared(2))), mask);
            const double difference = driver::rmse(halved, expected);
            std::cout << name << " screen halved: difference " << difference << std::endl;
            if (difference > kTolerance) {
                ADD_FAILURE() << "the " << name << " screen at twice the scale differs by " << difference;
                expected.save(QString::fromStdString(scaled.folder() + "/" + name + "-expected.png"));
                halved.save(QString::fromStdString(scaled.folder() + "/" + name + "-halved.png"));
            }
        }
    }
};

TEST_F(Scaling, TwiceByQtScaleFactorIsTheSameScreensTwiceAsLarge)
{
    expectTwiceAsLarge({.display = {2048, 1536}, .scaleFactor = 2});
}

TEST_F(Scaling, TwiceByXResourceDpiIsTheSameScreensTwiceAsLarge)
{
    expectTwiceAsLarge({.display = {2048, 1536}, .dpiScale = 2});
}

}  // namespace
}  // namespace e2e
