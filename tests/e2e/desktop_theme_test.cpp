// The game in a GNOME session, where Qt would load Debian's GTK platform theme, and under a dark
// theme the player names for Qt, against a session with no desktop: the three screens show the same.

// Own
#include "e2e.h"
#include "screens/question_layout.h"

// Standard
#include <map>
#include <string>
#include <vector>

namespace e2e {
namespace {

using driver::Screen;

struct Shots {
    QImage title;
    QImage question;   // before its options: only the question's own text is the draw's
    QImage farewell;
};

Shots playThrough(driver::Session &s, const std::vector<std::string> &desktop, bool themed)
{
    driver::Process &game = s.launch({gamePath()}, desktop);
    s.waitForScreen(Screen::Title, 10s);
    Shots shots;
    shots.title = driver::shootTitleAfterFirstTick(s);
    // Qt's GTK theme brings GTK itself into the game; without it, the session's theme reaches nothing.
    const bool loaded = driver::readFile("/proc/" + std::to_string(game.pid()) + "/maps").find("libgtk-3.so") !=
                        std::string::npos;
    EXPECT_EQ(loaded, themed) << "GTK " << (themed ? "was not" : "was") << " loaded";
    s.key("a");
    s.waitForScreen(Screen::Question, 5s);
    s.waitUntilStill();
    shots.question = s.shot("question");
    driver::revealOptionsBySpace(s);   // keys alone: weston takes no click reliably
    s.key("Escape");
    s.waitForScreen(Screen::Farewell, 10s);
    s.waitUntilStill();
    shots.farewell = s.shot("farewell");
    s.key("a");
    EXPECT_EQ(game.waitExit(5s), 0);
    return shots;
}

// The two colours an area shows most: its ground, then its text's own colour.
std::pair<QRgb, QRgb> twoCommonest(const QImage &area)
{
    std::map<QRgb, int> counts;
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x)
            ++counts[area.pixel(x, y)];
    std::pair<QRgb, int> first{0, 0}, second{0, 0};
    for (const auto &[colour, count] : counts) {
        if (count > first.second) {
            second = first;
            first = {colour, count};
        } else if (count > second.second) {
            second = {colour, count};
        }
    }
    return {first.first, second.first};
}

// A desktop as the game's environment names it, and whether Qt's GTK theme is then in the game.
struct Desktop {
    const char *name;
    std::vector<std::string> environment;
    bool themed;
    int dpiScale = 1;   // 2: the desktop's text scale at twice, which it hands X programs as Xft.dpi
    bool wayland = false;   // on weston, where Qt draws the windows' decorations
};

class OnADesktop : public E2e, public ::testing::WithParamInterface<Desktop> {};

TEST_P(OnADesktop, TheScreensShowWhatTheyShowWithoutOne)
{
    const driver::Session::Options options{
        .dpiScale = GetParam().dpiScale, .wayland = GetParam().wayland, .waylandInput = GetParam().wayland};
    driver::Session &plain = session(options);
    Shots expected = playThrough(plain, {"XDG_CURRENT_DESKTOP", "GTK_THEME", "QT_QPA_PLATFORMTHEME"}, false);
    driver::Session &desktop = session(options);
    Shots shown = playThrough(desktop, GetParam().environment, GetParam().themed);
    // weston draws a pointer of its own into its output, at its top left corner until the pointer
    // has come to rest in the last pixel: those corners are weston's, not the game's.
    if (GetParam().wayland) {
        for (Shots *shots : {&expected, &shown})
            for (QImage *image : {&shots->title, &shots->question, &shots->farewell}) {
                const QRect corner(0, 0, 48, 48);
                for (const QRect &area : {corner, corner.translated(image->width() - 48, image->height() - 48)})
                    for (int y = area.top(); y <= area.bottom(); ++y)
                        for (int x = area.left(); x <= area.right(); ++x)
                            image->setPixel(x, y, 0);
            }
    }

    EXPECT_EQ(shown.title, expected.title) << "the title screen";
    EXPECT_EQ(shown.farewell, expected.farewell) << "the farewell screen";
    // The question is drawn at random in each session: its label is held to its colours, the rest
    // of the screen to every pixel.
    const QRect question = desktop.placeOf(screens::question::kQuestion.geometry);
    EXPECT_EQ(twoCommonest(shown.question.copy(question)), twoCommonest(expected.question.copy(question)));
    QImage shownRest = shown.question, expectedRest = expected.question;
    for (QImage *image : {&shownRest, &expectedRest})
        for (int y = question.top(); y <= question.bottom(); ++y)
            for (int x = question.left(); x <= question.right(); ++x)
                image->setPixel(x, y, 0);
    EXPECT_EQ(shownRest, expectedRest) << "the question screen outside the question's text";
}

// In a GNOME session, with a dark GTK theme, the game leaves GTK out: it would show nothing of it.
// The text scale a player sets there still reaches the game, through the X server's resources. A
// theme the player names for Qt is loaded, and a dark one changes nothing shown. On Wayland, where
// the windows' decorations are Qt's to draw, the theme changes nothing shown either.
INSTANTIATE_TEST_SUITE_P(
    DesktopTheme, OnADesktop,
    ::testing::Values(
        Desktop{"GnomeSession", {"XDG_CURRENT_DESKTOP=GNOME", "GTK_THEME=Adwaita:dark", "QT_QPA_PLATFORMTHEME"}, false},
        Desktop{"GnomeSessionAtTwiceTheTextScale", {"XDG_CURRENT_DESKTOP=GNOME", "QT_QPA_PLATFORMTHEME"}, false, 2},
        Desktop{"GnomeOnWayland", {"XDG_CURRENT_DESKTOP=GNOME", "QT_QPA_PLATFORMTHEME"}, false, 1, true},
        Desktop{"ThemeNamedForQtOnWayland", {"XDG_CURRENT_DESKTOP=GNOME", "QT_QPA_PLATFORMTHEME=gtk3"}, true, 1, true},
        Desktop{"ThemeNamedForQt", {"XDG_CURRENT_DESKTOP=GNOME", "GTK_THEME=Adwaita:dark", "QT_QPA_PLATFORMTHEME=gtk3"},
                true}),
    [](const ::testing::TestParamInfo<Desktop> &info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2e
