// Own
#include "platform.h"
#include "panel_keeping_style.h"
#include "standard_scheme.h"
#include "widgets.h"

// Qt
#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QWidget>

// Standard
#include <array>
#include <cmath>
#include <utility>

namespace screens {
namespace {

// The faces the design names and the Debian-packaged faces drawn in their place.
constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kFaceSubstitutes{{
    {"Arial", "Liberation Sans"},
    {"Arial Narrow", "Liberation Sans Narrow"},
    {"Arial Black", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Lucida Handwriting", "Z003"},
    {"MS Sans Serif", "Liberation Sans"},
}};
constexpr std::string_view kDialogFace = "Liberation Sans";
constexpr double kDialogPointSize = 8;

QPalette &paletteStore()
{
    static QPalette palette;
    return palette;
}

}  // namespace

int toPixels(int twips, double dpi)
{
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

QRect toPixels(const Geometry &g, double dpi)
{
    // Edges are converted, not sizes, so that controls that meet in twips meet in pixels.
    const int left = toPixels(g.left, dpi);
    const int top = toPixels(g.top, dpi);
    return QRect(left, top, toPixels(g.right(), dpi) - left, toPixels(g.bottom(), dpi) - top);
}

void installStyle()
{
    // Fusion draws the same buttons and boxes on every desktop; its own palette follows the
    // desktop's theme, so the colours come from the standard scheme instead.
    QApplication::setStyle(new PanelKeepingStyle);
    paletteStore() = standardScheme();
    QApplication::setPalette(paletteStore());
}

const QPalette &systemPalette() { return paletteStore(); }

QColor toQColor(quiz::Colour colour)
{
    if (!colour.isSystem())
        return QColor(colour.red(), colour.green(), colour.blue());
    const QPalette &p = systemPalette();
    switch (colour.systemIndex()) {
    case 8: return p.color(QPalette::Active, QPalette::WindowText);
    case 15: return p.color(QPalette::Active, QPalette::Button);
    case 18: return p.color(QPalette::Active, QPalette::ButtonText);
    case 20: return p.color(QPalette::Active, QPalette::Light);
    default: return p.color(QPalette::Active, QPalette::WindowText);
    }
}

QString substituteFace(std::string_view designFace)
{
    if (designFace.empty())
        return toQString(kDialogFace);
    for (const auto &[design, installed] : kFaceSubstitutes)
        if (design == designFace)
            return toQString(installed);
    return toQString(kDialogFace);
}

QFont toQFont(const FontSpec &design) { return toQFont(design, 0); }

QFont toQFont(const FontSpec &design, double pointSize)
{
    QFont font(substituteFace(design.face));
    const double designSize = design.face.empty() ? kDialogPointSize : design.pointSize;
    font.setPointSizeF(pointSize > 0 ? pointSize : designSize);
    font.setWeight(design.weight >= 700 ? QFont::Bold : QFont::Normal);
    return font;
}

QLabel *makeLabel(QWidget *parent, const Geometry &geometry, double dpi)
{
    auto *label = new TextLabel(parent);
    label->setGeometry(toPixels(geometry, dpi));
    label->setAutoFillBackground(true);
    return label;
}

void applyLabel(QLabel &label, const quiz::Label &state, const FontSpec &designFont, const quiz::Label *written)
{
    const QString caption = toQString(state.caption);
    if (label.text() != caption)
        label.setText(caption);
    if (written == nullptr || written->back != state.back || written->text != state.text) {
        QPalette palette = label.palette();
        palette.setColor(QPalette::Window, toQColor(state.back));
        palette.setColor(QPalette::WindowText, toQColor(state.text));
        label.setPalette(palette);
    }
    if (written == nullptr || written->pointSize != state.pointSize)
        label.setFont(toQFont(designFont, state.pointSize));
    label.setVisible(state.visible);
}

}  // namespace screens
