// make_pictures FOLDER
//
// Draws the question screen's four pictures and the title screen's icon and writes them into
// FOLDER: image1.bmp to image4.bmp, tarvelo.ico, tarvelo-32.png and tarvelo.svg. Everything is
// drawn without anti-aliasing from fixed geometry, so only the named colours appear and every run
// writes the same bytes. The committed copies in resources/ are regenerated with `make pictures`.

// Own
#include "image_files.h"

// Standard
#include <array>
#include <charconv>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <variant>
#include <vector>

namespace {

using tarvelo::tools::Canvas;
using tarvelo::tools::Coverage;
using tarvelo::tools::Rgb;

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kOutline{0, 128, 255};   // the option and question box outlines
constexpr Rgb kBar{0, 0, 255};         // the bars joining two option boxes of a row
constexpr Rgb kSmile{255, 255, 0};
constexpr Rgb kFrown{255, 47, 47};
constexpr std::size_t kIconPaletteRed = 9;   // entry of the 16-colour palette the glyph is drawn in

// ---------------------------------------------------------------------------------------------
// Shapes. Coordinates are in pixels with y growing downwards; pixel (x, y) is covered by a shape
// when its centre (x + 0.5, y + 0.5) lies strictly inside it. All sizes are multiples of one
// quarter, so every comparison below is exact in floating point and the result can never depend
// on rounding. The sizes are also chosen so that no pixel centre falls exactly on a boundary: a
// centre on the edge of a round shape would otherwise leave a one-pixel nub or notch.

struct Disc {
    double cx, cy, radius;
    bool contains(double x, double y) const
    {
        const double dx = x - cx;
        const double dy = y - cy;
        return dx * dx + dy * dy < radius * radius;
    }
};

struct Ellipse {
    double cx, cy, rx, ry;
    bool contains(double x, double y) const
    {
        const double dx = x - cx;
        const double dy = y - cy;
        return dx * dx * ry * ry + dy * dy * rx * rx < rx * rx * ry * ry;
    }
};

// The ring between two circles, clipped to the rows top < y < bottom: a smile or a frown.
struct RingBand {
    double cx, cy, inner, outer, top, bottom;
    bool contains(double x, double y) const
    {
        const double dx = x - cx;
        const double dy = y - cy;
        const double d2 = dx * dx + dy * dy;
        return y > top && y < bottom && d2 > inner * inner && d2 < outer * outer;
    }
};

struct Rect {
    double left, top, width, height;
    bool contains(double x, double y) const
    {
        return x > left && x < left + width && y > top && y < top + height;
    }
};

// Whole quadrants of a ring, clockwise on screen from firstQuadrant. Quadrant 0 runs from
// 3 o'clock to 6 o'clock, 1 from 6 to 9, 2 from 9 to 12, 3 from 12 to 3.
// 0 <= firstQuadrant <= 3, 1 <= quadrants <= 3, 0 < inner < outer.
struct QuarterRing {
    double cx, cy, inner, outer;
    int firstQuadrant;
    int quadrants;
    bool contains(double x, double y) const
    {
        const double dx = x - cx;
        const double dy = y - cy;
        const double d2 = dx * dx + dy * dy;
        if (d2 <= inner * inner || d2 >= outer * outer)
            return false;
        const int quadrant = dy >= 0 ? (dx >= 0 ? 0 : 1) : (dx < 0 ? 2 : 3);
        return (quadrant - firstQuadrant + 4) % 4 < quadrants;
    }
};

template <typename Shape>
void fill(Canvas &canvas, const Shape &shape, Rgb colour)
{
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (shape.contains(x + 0.5, y + 0.5))
                canvas.set(x, y, colour);
}

// ---------------------------------------------------------------------------------------------
// Outlined boxes

struct Box {
    int left, top, right, bottom;   // inclusive pixel bounds; the outline runs on them
};

// The outline of box, one pixel wide, with its corners rounded to radius pixels; the quarter
// circles are drawn with the midpoint algorithm so the line stays one pixel wide and closed.
// 1 <= radius, 2 * radius < the box's width and height.
void outlineRoundedBox(Canvas &canvas, const Box &box, int radius, Rgb colour)
{
    for (int x = box.left + radius; x <= box.right - radius; ++x) {
        canvas.set(x, box.top, colour);
        canvas.set(x, box.bottom, colour);
    }
    for (int y = box.top + radius; y <= box.bottom - radius; ++y) {
        canvas.set(box.left, y, colour);
        canvas.set(box.right, y, colour);
    }
    const int leftCx = box.left + radius;
    const int rightCx = box.right - radius;
    const int topCy = box.top + radius;
    const int bottomCy = box.bottom - radius;
    int a = 0;
    int b = radius;
    int decision = 1 - radius;
    while (a <= b) {
        for (const auto &[dx, dy] : std::array<std::array<int, 2>, 2>{{{a, b}, {b, a}}}) {
            canvas.set(leftCx - dx, topCy - dy, colour);
            canvas.set(rightCx + dx, topCy - dy, colour);
            canvas.set(leftCx - dx, bottomCy + dy, colour);
            canvas.set(rightCx + dx, bottomCy + dy, colour);
        }
        if (decision < 0) {
            decision += 2 * a + 3;
        } else {
            decision += 2 * (a - b) + 5;
            --b;
        }
        ++a;
    }
}

void fillBox(Canvas &canvas, const Box &box, Rgb colour)
{
    for (int y = box.top; y <= box.bottom; ++y)
        for (int x = box.left; x <= box.right; ++x)
            canvas.set(x, y, colour);
}

// ---------------------------------------------------------------------------------------------
// The pictures

// Image1: the four option boxes, two rows of two, under 80 black rows where the "see the options"
// button stands. The option labels and check boxes sit inside and beside the boxes, so the
// corner radius is kept small enough that no label corner reaches the rounded outline.
Canvas optionBoxes()
{
    constexpr int kRadius = 6;
    constexpr std::array<Box, 4> kBoxes{{
        {18, 80, 219, 145},    // upper left
        {242, 80, 459, 145},   // upper right
        {20, 156, 219, 223},   // lower left
        {242, 156, 458, 223},  // lower right
    }};
    // Two rows high, centred on the middle of each row of boxes, closing the gap between them.
    constexpr std::array<Box, 2> kBars{{
        {220, 112, 241, 113},
        {220, 189, 241, 190},
    }};

    Canvas canvas(470, 236, kBlack);
    for (const Box &box : kBoxes)
        outlineRoundedBox(canvas, box, kRadius, kOutline);
    for (const Box &bar : kBars)
        fillBox(canvas, bar, kBar);
    return canvas;
}

// Image2: the question box. The question label leaves only two pixels to the outline at its
// top right, which bounds the corner radius to 5.
Canvas questionBox()
{
    Canvas canvas(438, 97, kBlack);
    outlineRoundedBox(canvas, {2, 6, 434, 83}, 5, kOutline);
    return canvas;
}

// Image3: a yellow face with two black eyes and a black smile, shown for a right answer.
Canvas smilingFace()
{
    constexpr double kCx = 21.5;   // the middle of column 21 of 43
    constexpr double kCy = 21.0;   // between rows 20 and 21 of 42
    Canvas canvas(43, 42, kBlack);
    fill(canvas, Disc{kCx, kCy, 19.25}, kSmile);
    fill(canvas, Ellipse{kCx - 7.0, kCy - 6.0, 2.5, 4.0}, kBlack);
    fill(canvas, Ellipse{kCx + 7.0, kCy - 6.0, 2.5, 4.0}, kBlack);
    // The lower part of a ring round the middle: its ends turn up.
    fill(canvas, RingBand{kCx, kCy - 1.0, 9.25, 12.25, kCy + 3.0, 1000.0}, kBlack);
    return canvas;
}

// Image4: a red face with two black eyes and a black frown, shown for a wrong answer.
Canvas sadFace()
{
    constexpr double kCx = 28.5;   // the middle of column 28 of 57
    constexpr double kCy = 25.5;   // the middle of row 25 of 51
    Canvas canvas(57, 51, kBlack);
    fill(canvas, Disc{kCx, kCy, 24.25}, kFrown);
    fill(canvas, Ellipse{kCx - 9.0, kCy - 7.0, 3.25, 5.25}, kBlack);
    fill(canvas, Ellipse{kCx + 9.0, kCy - 7.0, 3.25, 5.25}, kBlack);
    // The upper part of a ring centred low in the face: its ends turn down.
    fill(canvas, RingBand{kCx, kCy + 22.0, 10.25, 14.25, -1000.0, kCy + 14.5}, kBlack);
    return canvas;
}

// ---------------------------------------------------------------------------------------------
// The icon: a red question mark on a transparent ground, defined once as shapes on a 32 × 32
// grid. The same shapes are sampled at the pixel centres for the icon and the PNG and written
// out as vector shapes for the SVG, so the three always show the same glyph.

constexpr int kIconSize = 32;

using GlyphPart = std::variant<QuarterRing, Rect, Disc>;

const std::vector<GlyphPart> &questionMark()
{
    static const std::vector<GlyphPart> parts{
        QuarterRing{16.0, 11.0, 4.5, 8.5, 2, 3},   // the hook: from 9 o'clock over the top to 6
        Disc{9.5, 11.0, 2.0},                     // a round end on the hook's left tip
        Rect{14.0, 15.0, 4.0, 8.0},               // the stem down from the hook's end
        Disc{16.0, 27.5, 2.25},                   // the dot
    };
    return parts;
}

Coverage rasterise(const std::vector<GlyphPart> &parts)
{
    Coverage coverage(kIconSize, kIconSize);
    for (int y = 0; y < kIconSize; ++y) {
        for (int x = 0; x < kIconSize; ++x) {
            for (const GlyphPart &part : parts) {
                if (std::visit([&](const auto &shape) { return shape.contains(x + 0.5, y + 0.5); }, part)) {
                    coverage.set(x, y, true);
                    break;
                }
            }
        }
    }
    return coverage;
}

// The shortest text that reads back as the same number, e.g. "16", "7.5".
std::string number(double value)
{
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::string point(double x, double y)
{
    return number(x) + " " + number(y);
}

std::string svgElement(const QuarterRing &ring)
{
    // Unit steps to the start of quadrants 0 to 3, with y downwards.
    constexpr std::array<std::array<double, 2>, 4> kDirections{{{1, 0}, {0, 1}, {-1, 0}, {0, -1}}};
    const auto &from = kDirections[static_cast<std::size_t>(ring.firstQuadrant)];
    const auto &to = kDirections[static_cast<std::size_t>((ring.firstQuadrant + ring.quadrants) % 4)];
    const std::string large = ring.quadrants > 2 ? "1" : "0";
    const std::string outer = number(ring.outer);
    const std::string inner = number(ring.inner);
    return "<path d=\"M" + point(ring.cx + ring.outer * from[0], ring.cy + ring.outer * from[1])
         + " A" + outer + " " + outer + " 0 " + large + " 1 "
         + point(ring.cx + ring.outer * to[0], ring.cy + ring.outer * to[1])
         + " L" + point(ring.cx + ring.inner * to[0], ring.cy + ring.inner * to[1])
         + " A" + inner + " " + inner + " 0 " + large + " 0 "
         + point(ring.cx + ring.inner * from[0], ring.cy + ring.inner * from[1]) + " Z\"/>";
}

std::string svgElement(const Rect &rect)
{
    return "<rect x=\"" + number(rect.left) + "\" y=\"" + number(rect.top) + "\" width=\""
         + number(rect.width) + "\" height=\"" + number(rect.height) + "\"/>";
}

std::string svgElement(const Disc &disc)
{
    return "<circle cx=\"" + number(disc.cx) + "\" cy=\"" + number(disc.cy) + "\" r=\""
         + number(disc.radius) + "\"/>";
}

std::string svg(const std::vector<GlyphPart> &parts)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" "
                       "viewBox=\"0 0 32 32\">\n"
                       "  <title>Tarvelo</title>\n"
                       "  <g fill=\"#ff0000\" stroke=\"none\">\n";
    for (const GlyphPart &part : parts)
        text += "    " + std::visit([](const auto &shape) { return svgElement(shape); }, part) + "\n";
    text += "  </g>\n</svg>\n";
    return text;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argc > 0 ? argv[0] : "make_pictures");
        return 2;
    }
    try {
        const std::filesystem::path folder(argv[1]);
        std::filesystem::create_directories(folder);

        using tarvelo::tools::encodeBmp;
        using tarvelo::tools::writeFile;
        writeFile(folder / "image1.bmp", encodeBmp(optionBoxes()));
        writeFile(folder / "image2.bmp", encodeBmp(questionBox()));
        writeFile(folder / "image3.bmp", encodeBmp(smilingFace()));
        writeFile(folder / "image4.bmp", encodeBmp(sadFace()));

        const Coverage icon = rasterise(questionMark());
        const Rgb red = tarvelo::tools::sixteenColourPalette().at(kIconPaletteRed);
        writeFile(folder / "tarvelo.ico", tarvelo::tools::encodeIco(icon, static_cast<int>(kIconPaletteRed)));
        writeFile(folder / "tarvelo-32.png", tarvelo::tools::encodePng(icon, red));
        writeFile(folder / "tarvelo.svg", svg(questionMark()));
    } catch (const std::exception &error) {
        std::fprintf(stderr, "make_pictures: %s\n", error.what());
        return 1;
    }
    return 0;
}
