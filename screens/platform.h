// The thin layer over the platform: design units to pixels, system colours, fonts, and how a
// control of the design becomes a widget. Every screen converts its design values here and nowhere else.
#pragma once

// Own
#include "quiz/controls.h"

// Qt
#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

// Standard
#include <string_view>

class QLabel;
class QPalette;
class QWidget;

namespace screens {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr double kDesignDpi = 96;   // 15 twips to a pixel

// A control's place in twips, measured from the top-left corner of its screen's client area
// (or of its container).
struct Geometry {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    constexpr int right() const { return left + width; }
    constexpr int bottom() const { return top + height; }
};

// A font as the design names it; an empty face is the default dialog font, used by controls
// without a font of their own.
struct FontSpec {
    std::string_view face;
    double pointSize = 0;
    int weight = 400;   // 400 normal, 700 bold
};

inline constexpr FontSpec kDialogFont{};

int toPixels(int twips, double dpi);
QRect toPixels(const Geometry &geometry, double dpi);

// Installs the Fusion style with the standard scheme (standard_scheme.h), whatever the desktop theme,
// so that the system colours the screens name resolve to the same values everywhere. Once, before
// the first screen.
void installStyle();
const QPalette &systemPalette();
QColor toQColor(quiz::Colour colour);   // resolves 0x800000nn through systemPalette()

// The installed face that stands in for a face of the design, and the font it makes.
QString substituteFace(std::string_view designFace);
QFont toQFont(const FontSpec &design);
QFont toQFont(const FontSpec &design, double pointSize);   // pointSize 0 keeps the design size

inline QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Builds a label as every screen draws them: opaque, plain text wrapped at word boundaries from the
// top-left corner, clipped at its bottom edge.
QLabel *makeLabel(QWidget *parent, const Geometry &geometry, double dpi);
// Writes one label's state; the design font is the one its table gives. Given the state the label
// was last written with, it writes only what changed since: Qt resolves a palette or a font set on a
// widget against its parent's before it can tell that nothing changed, and on the question screen
// that was a third of what a click cost before the frame was drawn.
void applyLabel(QLabel &label, const quiz::Label &state, const FontSpec &designFont, const quiz::Label *written = nullptr);

}  // namespace screens
