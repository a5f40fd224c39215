// Own
#include "layout.h"
#include "screens/farewell_layout.h"
#include "screens/question_layout.h"
#include "screens/title_layout.h"

// Standard
#include <stdexcept>

namespace driver {

const char *nameOf(Screen screen)
{
    switch (screen) {
    case Screen::Title: return "title";
    case Screen::Question: return "question";
    case Screen::Farewell: return "farewell";
    }
    return "?";
}

QColor backgroundOf(Screen screen)
{
    switch (screen) {
    case Screen::Title: return screens::toQColor(screens::title::kBackground);
    case Screen::Question: return screens::toQColor(screens::question::kBackground);
    case Screen::Farewell: return screens::toQColor(screens::farewell::kBackground);
    }
    throw std::logic_error("no such screen");
}

std::optional<Screen> screenWithBackground(QColor colour)
{
    for (Screen s : kScreens)
        if (backgroundOf(s).rgb() == colour.rgb())
            return s;
    return std::nullopt;
}

std::vector<screens::Geometry> controlsOf(Screen screen)
{
    std::vector<screens::Geometry> all;
    switch (screen) {
    case Screen::Title: {
        using namespace screens::title;
        for (const StaticLabel &l : kStaticLabels)
            all.push_back(l.geometry);
        all.insert(all.end(), {kName.geometry, kPress.geometry, kAbort.geometry});
        break;
    }
    case Screen::Question: {
        using namespace screens::question;
        for (const Control &c : kBoxes)
            all.push_back(c.geometry);
        for (const Control &c : kOptions)
            all.push_back(c.geometry);
        all.insert(all.end(), {kShowOptions.control.geometry, kQuit.control.geometry, kLifeline.control.geometry,
                               kNext.control.geometry, kLifelineUsed.geometry, kSadFace, kHappyFace,
                               kQuestion.geometry, kQuestionFrame, kOptionFrames, kNumber.geometry,
                               kMessage.geometry});
        break;
    }
    case Screen::Farewell: {
        using namespace screens::farewell;
        for (const StaticLabel &l : kLabels)
            all.push_back(l.geometry);
        all.push_back(kFrame);   // kContact lies inside it
        break;
    }
    }
    return all;
}

QRect placeOf(const screens::Geometry &control, int scale)
{
    const QRect r = screens::toPixels(control, screens::kDesignDpi);
    return QRect(r.topLeft() * scale, r.size() * scale);
}

QPoint centreOf(const screens::Geometry &control, int scale) { return placeOf(control, scale).center(); }

QRect controlsArea(int scale)
{
    QRect area;
    for (Screen s : kScreens)
        for (const screens::Geometry &g : controlsOf(s))
            area |= placeOf(g, scale);
    return area;
}

QPoint probePoint(QSize display, int scale)
{
    const QRect used = controlsArea(scale);
    const QPoint far(display.width(), display.height());
    if (far.x() > used.right() + 1 && far.y() > used.bottom() + 1)
        return (used.bottomRight() + QPoint(1, 1) + far) / 2;
    // A display smaller than the controls: the first point from its far corner that keeps a margin
    // from every control, so that a control's border or shadow is never taken for the background.
    const int margin = 4 * scale;
    std::vector<QRect> around;
    for (Screen s : kScreens)
        for (const screens::Geometry &g : controlsOf(s))
            around.push_back(placeOf(g, scale).adjusted(-margin, -margin, margin, margin));
    for (int y = far.y() - 1 - margin; y >= 0; y -= margin)
        for (int x = far.x() - 1 - margin; x >= 0; x -= margin) {
            bool free = true;
            for (const QRect &r : around)
                free = free && !r.contains(x, y);
            if (free)
                return {x, y};
        }
    throw std::runtime_error("the display has no point outside the screens' controls");
}

}  // namespace driver
