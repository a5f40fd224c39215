// make_pictures FOLDER
//
// Draws the question screen's four pictures and the title screen's icon and writes them into
// FOLDER: image1.bmp to image4.bmp, tarvelo.ico, tarvelo-32.png and tarvelo.svg. Everything is
// drawn with QPainter, without anti-aliasing and without text, from fixed geometry, so only the
// named colours appear and every run on every machine draws the same pixels. Qt's image writers
// store them. The committed copies in resources/ are regenerated with `make pictures`.

// Qt
#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QPolygonF>
#include <QString>
#include <QtEndian>

// Standard
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace {

constexpr int kDotsPerMetre = 3780;   // 96 dots per inch, the screens' design resolution

const QColor kBlack(0, 0, 0);
const QColor kOutline(0, 128, 255);   // the option and question box outlines
const QColor kBar(0, 0, 255);         // the bars joining two option boxes of a row
const QColor kSmile(255, 255, 0);
const QColor kFrown(255, 47, 47);
const QColor kGlyph(255, 0, 0);       // entry 9 of the 16-colour palette below

QImage blackPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);   // Qt's bitmap writer stores this at 24 bits
    image.fill(kBlack);
    image.setDotsPerMeterX(kDotsPerMetre);
    image.setDotsPerMeterY(kDotsPerMetre);
    return image;
}

// A circle or an ellipse as a polygon of 256 sides. Qt flattens its own curves into so few chords
// at this size that a face would lose pixels along its edge. With 256 sides the pixels filled are
// those whose centres lie inside the curve. The sizes below are multiples of a quarter pixel that
// put no pixel centre on an edge, but a few centres lie within a hundredth of a pixel of one: with
// another number of sides one of those pixels can flip, and the pictures would change.
QPainterPath ellipse(QPointF centre, double rx, double ry)
{
    constexpr int kSides = 256;
    QPolygonF polygon;
    for (int i = 0; i < kSides; ++i) {
        const double angle = 2 * std::numbers::pi * i / kSides;
        polygon << centre + QPointF(rx * std::cos(angle), ry * std::sin(angle));
    }
    QPainterPath path;
    path.addPolygon(polygon);
    path.closeSubpath();
    return path;
}

QPainterPath disc(QPointF centre, double radius)
{
    return ellipse(centre, radius, radius);
}

// The ring between two circles round centre.
QPainterPath ring(QPointF centre, double inner, double outer)
{
    return disc(centre, outer).subtracted(disc(centre, inner));
}

QPainterPath rows(double top, double bottom)   // all of the rows top < y < bottom
{
    QPainterPath path;
    path.addRect(QRectF(-1000, top, 2000, bottom - top));
    return path;
}

// ---------------------------------------------------------------------------------------------
// The pictures

// An outline one pixel wide on the inclusive pixel bounds of a box, its corners rounded. Rounded
// with a radius of 5 or 6 pixels, a corner one pixel wide is a plain 45-degree step that cuts 3 or
// 4 pixels off each side, so it is drawn as that octagon: Qt's pen on a true arc of that size steps
// unevenly, and the four corners of a box would differ.
void outlineBox(QPainter &painter, QRect box, int cut)
{
    painter.setPen(QPen(kOutline, 0));   // cosmetic: exactly one pixel wide
    painter.setBrush(Qt::NoBrush);
    painter.drawPolygon(QPolygon({
        {box.left() + cut, box.top()}, {box.right() - cut, box.top()},
        {box.right(), box.top() + cut}, {box.right(), box.bottom() - cut},
        {box.right() - cut, box.bottom()}, {box.left() + cut, box.bottom()},
        {box.left(), box.bottom() - cut}, {box.left(), box.top() + cut},
    }));
}

// Image1: the four option boxes, two rows of two, under 80 black rows where the "see the options"
// button stands. The option labels and check boxes sit inside and beside the boxes, so the
// corners are kept small enough that no label corner reaches an outline.
QImage optionBoxes()
{
    QImage image = blackPicture(470, 236);
    QPainter painter(&image);
    for (const QRect &box : {QRect(QPoint(18, 80), QPoint(219, 145)), QRect(QPoint(242, 80), QPoint(459, 145)),
                             QRect(QPoint(20, 156), QPoint(219, 223)), QRect(QPoint(242, 156), QPoint(458, 223))})
        outlineBox(painter, box, 4);
    // Two rows high, centred on the middle of each row of boxes, closing the gap between them.
    painter.fillRect(QRect(QPoint(220, 112), QPoint(241, 113)), kBar);
    painter.fillRect(QRect(QPoint(220, 189), QPoint(241, 190)), kBar);
    return image;
}

// Image2: the question box. The question label leaves only two pixels to the outline at its
// top right, which keeps this corner smaller than the option boxes'.
QImage questionBox()
{
    QImage image = blackPicture(438, 97);
    QPainter painter(&image);
    outlineBox(painter, QRect(QPoint(2, 6), QPoint(434, 83)), 3);
    return image;
}

// A face of one colour on black with two black eyes and a black mouth, the mouth a band of a ring.
QImage face(QSize size, QPointF centre, double radius, const QColor &colour, QPointF eyeOffset, QSizeF eye,
            const QPainterPath &mouth)
{
    QImage image = blackPicture(size.width(), size.height());
    QPainter painter(&image);
    painter.fillPath(disc(centre, radius), colour);
    for (const double side : {-1.0, 1.0})
        painter.fillPath(ellipse(centre + QPointF(side * eyeOffset.x(), eyeOffset.y()), eye.width(), eye.height()), kBlack);
    painter.fillPath(mouth, kBlack);
    return image;
}

// Image3: a yellow face shown for a right answer. Its mouth is the lower part of a ring round the
// middle, so the ends turn up.
QImage smilingFace()
{
    const QPointF centre(21.5, 21.0);   // the middle of column 21 of 43, between rows 20 and 21 of 42
    const QPainterPath mouth = ring(centre - QPointF(0, 1), 9.25, 12.25).intersected(rows(centre.y() + 3, 1000));
    return face({43, 42}, centre, 19.25, kSmile, {7.0, -6.0}, {2.5, 4.0}, mouth);
}

// Image4: a red face shown for a wrong answer. Its mouth is the upper part of a ring centred low
// in the face, so the ends turn down.
QImage sadFace()
{
    const QPointF centre(28.5, 25.5);   // the middle of column 28 of 57 and of row 25 of 51
    const QPainterPath mouth = ring(centre + QPointF(0, 22), 10.25, 14.25).intersected(rows(-1000, centre.y() + 14.5));
    return face({57, 51}, centre, 24.25, kFrown, {9.0, -7.0}, {3.25, 5.25}, mouth);
}

// ---------------------------------------------------------------------------------------------
// The icon: a red question mark on a transparent ground, defined once as shapes on a 32 × 32
// grid. The same shapes are filled for the icon and the PNG and written out as vector shapes for
// the SVG, so the three always show the same glyph.

constexpr int kIconSize = 32;

struct Disc {
    double cx, cy, radius;
};

struct Rect {
    double left, top, width, height;
};

// Whole quadrants of a ring, clockwise on screen from firstQuadrant. Quadrant 0 runs from
// 3 o'clock to 6 o'clock, 1 from 6 to 9, 2 from 9 to 12, 3 from 12 to 3.
// 0 <= firstQuadrant <= 3, 1 <= quadrants <= 3, 0 < inner < outer.
struct QuarterRing {
    double cx, cy, inner, outer;
    int firstQuadrant;
    int quadrants;
};

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

QPainterPath path(const Disc &shape)
{
    return disc({shape.cx, shape.cy}, shape.radius);
}

QPainterPath path(const Rect &shape)
{
    QPainterPath path;
    path.addRect(QRectF(shape.left, shape.top, shape.width, shape.height));
    return path;
}

QPainterPath path(const QuarterRing &shape)
{
    // The square of each quadrant the ring leaves out, its corner on the centre.
    constexpr std::array<QPointF, 4> kCorners{{{0, 0}, {-1, 0}, {-1, -1}, {0, -1}}};
    QPainterPath path = ring({shape.cx, shape.cy}, shape.inner, shape.outer);
    for (int quadrant = shape.quadrants; quadrant < 4; ++quadrant) {
        const QPointF corner = kCorners[static_cast<std::size_t>((shape.firstQuadrant + quadrant) % 4)];
        QPainterPath square;
        square.addRect(QRectF(QPointF(shape.cx, shape.cy) + corner * shape.outer, QSizeF(shape.outer, shape.outer)));
        path = path.subtracted(square);
    }
    return path;
}

QImage iconPicture(const std::vector<GlyphPart> &parts)
{
    QImage image(kIconSize, kIconSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setDotsPerMeterX(kDotsPerMetre);
    image.setDotsPerMeterY(kDotsPerMetre);
    QPainter painter(&image);
    for (const GlyphPart &part : parts)
        painter.fillPath(std::visit([](const auto &shape) { return path(shape); }, part), kGlyph);
    return image;
}

// The icon file in 16 colours. Qt's own icon writer only stores 32 bits a pixel, but its bitmap
// writer stores an indexed image of at most 16 colours at 4 bits a pixel, and that bitmap, less its
// file header, is the body of an icon entry. Only what the icon format adds is written here: the
// directory with its one entry, the height in the bitmap header counting the transparency mask
// stacked on the colours, and the mask itself, one bit a pixel (1 where the ground shows through),
// bottom row first, copied from the rows of a one-bit image Qt makes from the alpha channel.
QByteArray sixteenColourIcon(const QImage &picture)
{
    const QList<QRgb> standardPalette{
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
    };
    // Transparent pixels become black, entry 0: a reader combines the colour with the ground by
    // exclusive or where the mask lets the ground through, so any other entry would tint it.
    const QImage indexed = picture.convertToFormat(QImage::Format_RGB32)
                               .convertToFormat(QImage::Format_Indexed8, standardPalette, Qt::ThresholdDither);
    QByteArray entry;
    QBuffer buffer(&entry);
    buffer.open(QIODevice::WriteOnly);
    if (!QImageWriter(&buffer, "bmp").write(indexed))
        throw std::runtime_error("Qt could not write the icon's bitmap");
    constexpr int kFileHeaderSize = 14;
    entry.remove(0, kFileHeaderSize);

    QImage mask = picture.createAlphaMask().convertToFormat(QImage::Format_Mono);
    mask.invertPixels();
    const auto maskRowSize = static_cast<qsizetype>((picture.width() + 31) / 32 * 4);
    for (int y = picture.height() - 1; y >= 0; --y)
        entry.append(reinterpret_cast<const char *>(mask.constScanLine(y)), maskRowSize);

    constexpr int kHeightField = 8;
    constexpr int kImageSizeField = 20;
    const auto headerSize = qFromLittleEndian<quint32>(entry.constData());
    const auto paletteSize = static_cast<quint32>(standardPalette.size() * 4);
    qToLittleEndian<qint32>(2 * picture.height(), entry.data() + kHeightField);
    qToLittleEndian<quint32>(static_cast<quint32>(entry.size()) - headerSize - paletteSize, entry.data() + kImageSizeField);

    QByteArray file;
    QDataStream out(&file, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    constexpr quint32 kDirectorySize = 6 + 16;
    out << quint16(0) << quint16(1) << quint16(1)   // reserved, an icon, one image
        << quint8(picture.width()) << quint8(picture.height()) << quint8(16) << quint8(0)
        << quint16(1) << quint16(4)                 // planes, bits a pixel
        << quint32(entry.size()) << kDirectorySize;
    return file + entry;
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

// ---------------------------------------------------------------------------------------------

void writeImage(const QDir &folder, const char *name, const QImage &image, const char *format)
{
    QImageWriter writer(folder.filePath(QString::fromLatin1(name)), format);
    if (!writer.write(image))
        throw std::runtime_error(std::string("cannot write ") + name + ": " + writer.errorString().toStdString());
}

void writeFile(const QDir &folder, const char *name, const QByteArray &bytes)
{
    QFile file(folder.filePath(QString::fromLatin1(name)));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() || !file.flush())
        throw std::runtime_error(std::string("cannot write ") + name + ": " + file.errorString().toStdString());
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argc > 0 ? argv[0] : "make_pictures");
        return 2;
    }
    try {
        const QDir folder(QString::fromLocal8Bit(argv[1]));
        if (!folder.mkpath(QStringLiteral(".")))
            throw std::runtime_error(std::string("cannot create ") + argv[1]);
        writeImage(folder, "image1.bmp", optionBoxes(), "bmp");
        writeImage(folder, "image2.bmp", questionBox(), "bmp");
        writeImage(folder, "image3.bmp", smilingFace(), "bmp");
        writeImage(folder, "image4.bmp", sadFace(), "bmp");

        const QImage icon = iconPicture(questionMark());
        writeFile(folder, "tarvelo.ico", sixteenColourIcon(icon));
        writeImage(folder, "tarvelo-32.png", icon, "png");
        writeFile(folder, "tarvelo.svg", QByteArray::fromStdString(svg(questionMark())));
    } catch (const std::exception &error) {
        std::fprintf(stderr, "make_pictures: %s\n", error.what());
        return 1;
    }
    return 0;
}
