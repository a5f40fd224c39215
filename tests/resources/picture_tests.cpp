// The question screen's four pictures and the window icon, read through Qt as the game reads
// them from its compiled-in resources: their format, their size against the controls that show
// them, and what a player sees in them.

// Own
#include "screens/question_layout.h"
#include "screens/title_layout.h"

// Qt
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QXmlStreamReader>
#include <QtEndian>

#include <gtest/gtest.h>

// Standard
#include <algorithm>
#include <set>
#include <vector>

namespace {

namespace question = screens::question;

constexpr int kTwipsPerPixel = 15;   // the pictures are drawn unscaled at 96 dots per inch

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kOutline = qRgb(0, 128, 255);
const QRgb kBar = qRgb(0, 0, 255);
const QRgb kYellow = qRgb(255, 255, 0);
const QRgb kSadRed = qRgb(255, 47, 47);
const QRgb kRed = qRgb(255, 0, 0);

QString path(std::string_view resource)
{
    return screens::toQString(resource);
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Little-endian fields of a file header; offset + the field's width <= bytes.size().
quint32 le16(const QByteArray &bytes, qsizetype offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

quint32 le32(const QByteArray &bytes, qsizetype offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

using Part = std::vector<QPoint>;

// The connected parts of the pixels that `in` accepts: through the four sides of a pixel, or
// also through its corners.
template <typename Accept>
std::vector<Part> partsOf(const QImage &image, Accept in, bool throughCorners = false)
{
    std::vector<int> partIndex(static_cast<std::size_t>(image.width() * image.height()), -1);
    const auto index = [&](QPoint p) { return static_cast<std::size_t>(p.y() * image.width() + p.x()); };
    std::vector<Part> parts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!in(image.pixel(x, y)) || partIndex[index({x, y})] >= 0)
                continue;
            partIndex[index({x, y})] = static_cast<int>(parts.size());
            Part part;
            std::vector<QPoint> stack{{x, y}};
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                part.push_back(p);
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const QPoint next = p + QPoint(dx, dy);
                        if ((dx != 0 && dy != 0 && !throughCorners) || !image.rect().contains(next)
                            || partIndex[index(next)] >= 0 || !in(image.pixel(next)))
                            continue;
                        partIndex[index(next)] = static_cast<int>(parts.size());
                        stack.push_back(next);
                    }
                }
            }
            parts.push_back(std::move(part));
        }
    }
    return parts;
}

auto is(QRgb colour)
{
    return [colour](QRgb pixel) { return pixel == colour; };
}

QRect bounds(const Part &part)
{
    QRect rect;
    for (const QPoint p : part)
        rect |= QRect(p, QSize(1, 1));
    return rect;
}

const Part &partContaining(const std::vector<Part> &parts, QPoint point)
{
    static const Part none;
    for (const Part &part : parts)
        if (std::find(part.begin(), part.end(), point) != part.end())
            return part;
    return none;
}

// ---------------------------------------------------------------------------------------------

struct PictureOnScreen {
    std::string_view resource;
    screens::Geometry control;   // the picture control that shows it
    std::set<QRgb> colours;      // every colour the design names for it
};

const std::vector<PictureOnScreen> &pictures()
{
    static const std::vector<PictureOnScreen> all{
        {question::kOptionFramesPicture, question::kOptionFrames, {kBlack, kOutline, kBar}},
        {question::kQuestionFramePicture, question::kQuestionFrame, {kBlack, kOutline}},
        {question::kHappyFacePicture, question::kHappyFace, {kBlack, kYellow}},
        {question::kSadFacePicture, question::kSadFace, {kBlack, kSadRed}},
    };
    return all;
}

QImage picture(std::string_view resource)
{
    return QImage(path(resource));
}

TEST(PictureFiles, EachIsA24BitBitmapWithoutPaletteAt96DpiThatFillsItsControlUnscaled)
{
    for (const PictureOnScreen &want : pictures()) {
        SCOPED_TRACE(std::string(want.resource));
        const QByteArray bytes = bytesOf(path(want.resource));
        ASSERT_GE(bytes.size(), 54) << "missing from the compiled-in resources, or truncated";
        EXPECT_EQ(bytes.left(2), QByteArray("BM"));
        EXPECT_EQ(le16(bytes, 28), 24u) << "bits a pixel";
        EXPECT_EQ(le32(bytes, 10), 14u + le32(bytes, 14)) << "the pixels follow the headers, with no palette between";

        const QImage image = QImage::fromData(bytes, "BMP");
        ASSERT_FALSE(image.isNull()) << "Qt cannot read it";
        EXPECT_EQ(image.dotsPerMeterX(), 3780);
        EXPECT_EQ(image.dotsPerMeterY(), 3780);
        EXPECT_EQ(image.width() * kTwipsPerPixel, want.control.width);
        EXPECT_EQ(image.height() * kTwipsPerPixel, want.control.height);

        std::set<QRgb> found;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                found.insert(image.pixel(x, y));
        EXPECT_EQ(found, want.colours) << "an anti-aliased or stray colour, or a missing one";
    }
}

// ---------------------------------------------------------------------------------------------
// The outlined boxes, where the layout places them: the spans of each row of boxes and of the
// question box, and roughly where the gap between two boxes of a row lies.

constexpr QRect kUpperRow(QPoint(18, 80), QPoint(459, 145));
constexpr QRect kLowerRow(QPoint(20, 156), QPoint(458, 223));
constexpr int kLeftBoxEnds = 219;      // about; each row's left box
constexpr int kRightBoxBegins = 242;   // about; each row's right box
constexpr QRect kQuestionOutline(QPoint(2, 6), QPoint(434, 83));

// The outlines of a picture, each the bounds of one unbroken line, left to right and top down.
std::vector<QRect> outlines(const QImage &image)
{
    std::vector<QRect> boxes;
    for (const Part &part : partsOf(image, is(kOutline), true))
        boxes.push_back(bounds(part));
    std::sort(boxes.begin(), boxes.end(), [](QRect a, QRect b) {
        return std::pair(a.top(), a.left()) < std::pair(b.top(), b.left());
    });
    return boxes;
}

// Each box is closed with black inside: the black around its middle stays within the outline.
// Its line is one pixel wide: crossing the middle meets it once on each side. Its corners are rounded.
void expectClosedRoundedBoxes(const QImage &image, const std::vector<QRect> &boxes)
{
    const std::vector<Part> blackParts = partsOf(image, is(kBlack));
    for (const QRect &box : boxes) {
        SCOPED_TRACE(testing::Message() << "box from " << box.left() << "," << box.top());
        const QPoint middle = box.center();
        const Part &inside = partContaining(blackParts, middle);
        ASSERT_FALSE(inside.empty()) << "not black in the middle";
        EXPECT_TRUE(box.adjusted(1, 1, -1, -1).contains(bounds(inside))) << "the outline has a gap";
        int across = 0;
        for (int x = box.left(); x <= box.right(); ++x)
            across += image.pixel(x, middle.y()) == kOutline;
        int down = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            down += image.pixel(middle.x(), y) == kOutline;
        EXPECT_EQ(across, 2);
        EXPECT_EQ(down, 2);
        for (const QPoint corner : {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()})
            EXPECT_EQ(image.pixel(corner), kBlack) << "square corner at " << corner.x() << "," << corner.y();
    }
}

TEST(OptionBoxes, TwoRowsOfTwoClosedRoundedBoxesUnderEightyBlackRows)
{
    const QImage image = picture(question::kOptionFramesPicture);
    ASSERT_FALSE(image.isNull());
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(image.pixel(x, y), kBlack) << "the button's rows at " << x << "," << y;

    const std::vector<QRect> boxes = outlines(image);
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0] | boxes[1], kUpperRow);
    EXPECT_EQ(boxes[2] | boxes[3], kLowerRow);
    expectClosedRoundedBoxes(image, boxes);
    for (const std::size_t left : {0u, 2u}) {
        EXPECT_NEAR(boxes[left].right(), kLeftBoxEnds, 2);
        EXPECT_NEAR(boxes[left + 1].left(), kRightBoxBegins, 2);
    }
}

// In each row of boxes one bar crosses the whole gap from the left box to the right one, and the
// bar colour appears nowhere else.
TEST(OptionBoxes, ABarJoinsTheTwoBoxesOfEachRow)
{
    const QImage image = picture(question::kOptionFramesPicture);
    ASSERT_FALSE(image.isNull());
    const std::vector<QRect> boxes = outlines(image);
    ASSERT_EQ(boxes.size(), 4u);
    const std::vector<Part> bars = partsOf(image, is(kBar));
    ASSERT_EQ(bars.size(), 2u);
    for (const std::size_t row : {0u, 1u}) {
        const QRect &left = boxes[2 * row];
        const QRect &right = boxes[2 * row + 1];
        const QRect gap(QPoint(left.right() + 1, left.top() + 1), QPoint(right.left() - 1, left.bottom() - 1));
        const QRect bar = bounds(bars[row]);
        EXPECT_TRUE(gap.contains(bar)) << "row " << row;
        EXPECT_EQ(bar.left(), gap.left()) << "row " << row;
        EXPECT_EQ(bar.right(), gap.right()) << "row " << row;
        EXPECT_EQ(static_cast<int>(bars[row].size()), bar.width() * bar.height()) << "row " << row << ": broken";
    }
}

TEST(QuestionBox, OneClosedRoundedBoxInItsPlace)
{
    const QImage image = picture(question::kQuestionFramePicture);
    ASSERT_FALSE(image.isNull());
    const std::vector<QRect> boxes = outlines(image);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], kQuestionOutline);
    expectClosedRoundedBoxes(image, boxes);
}

// The labels, check boxes and button standing on a picture are opaque. None of them may hide a
// line of it, and each option label and the question label sits inside an outlined box.
TEST(PictureLayout, ControlsStandingOnAPictureHideNoLineAndLabelsSitInsideTheBoxes)
{
    struct OnPicture {
        std::string_view resource;
        screens::Geometry picture;
        std::vector<screens::Geometry> controls;
        std::vector<screens::Geometry> labelsInBoxes;
    };
    std::vector<screens::Geometry> onOptions{question::kShowOptions.control.geometry};
    for (const auto &box : question::kBoxes)
        onOptions.push_back(box.geometry);
    std::vector<screens::Geometry> options;
    for (const auto &option : question::kOptions)
        options.push_back(option.geometry);
    onOptions.insert(onOptions.end(), options.begin(), options.end());
    const std::vector<OnPicture> layouts{
        {question::kOptionFramesPicture, question::kOptionFrames, onOptions, options},
        {question::kQuestionFramePicture, question::kQuestionFrame, {question::kQuestion.geometry},
         {question::kQuestion.geometry}},
    };
    const auto onPicture = [](const screens::Geometry &control, const screens::Geometry &picture) {
        return QRect((control.left - picture.left) / kTwipsPerPixel, (control.top - picture.top) / kTwipsPerPixel,
                     control.width / kTwipsPerPixel, control.height / kTwipsPerPixel);
    };
    for (const OnPicture &layout : layouts) {
        SCOPED_TRACE(std::string(layout.resource));
        const QImage image = picture(layout.resource);
        ASSERT_FALSE(image.isNull());
        for (const screens::Geometry &control : layout.controls) {
            const QRect covered = onPicture(control, layout.picture).intersected(image.rect());
            ASSERT_FALSE(covered.isEmpty()) << "a control that does not stand on the picture";
            for (int y = covered.top(); y <= covered.bottom(); ++y)
                for (int x = covered.left(); x <= covered.right(); ++x)
                    ASSERT_EQ(image.pixel(x, y), kBlack) << "a control hides a line at " << x << "," << y;
        }
        const std::vector<QRect> boxes = outlines(image);
        std::set<std::size_t> used;
        for (const screens::Geometry &label : layout.labelsInBoxes) {
            const QRect rect = onPicture(label, layout.picture);
            const auto box = std::find_if(boxes.begin(), boxes.end(), [&](QRect b) { return b.contains(rect); });
            ASSERT_NE(box, boxes.end()) << "a label outside every box";
            EXPECT_TRUE(used.insert(static_cast<std::size_t>(box - boxes.begin())).second) << "two labels in one box";
        }
    }
}

// ---------------------------------------------------------------------------------------------

struct FaceReading {
    int eyes = 0;                 // enclosed holes wholly above the face's middle
    int mouths = 0;               // enclosed holes wholly below it
    int others = 0;
    double mouthEndsRise = 0;     // how much higher (in pixels) the mouth's ends are than its middle
    QRect face;                   // bounds of the face colour
};

// Reads a face the way a person does: a disc of one colour with two black holes for eyes above
// its middle and one for the mouth below; a smile's ends turn up, a frown's turn down.
FaceReading readFace(const QImage &image, QRgb faceColour)
{
    FaceReading reading;
    for (const Part &part : partsOf(image, is(faceColour)))
        reading.face |= bounds(part);
    const int middle = reading.face.center().y();
    for (const Part &part : partsOf(image, is(kBlack))) {
        const QRect hole = bounds(part);
        if (!image.rect().adjusted(1, 1, -1, -1).contains(hole))
            continue;   // the black around the face
        if (hole.bottom() < middle) {
            ++reading.eyes;
        } else if (hole.top() > middle) {
            ++reading.mouths;
            const auto meanY = [&](int column) {
                double sum = 0;
                int n = 0;
                for (const QPoint p : part)
                    if (p.x() == column) {
                        sum += p.y();
                        ++n;
                    }
                return n == 0 ? 0.0 : sum / n;
            };
            const double ends = (meanY(hole.left()) + meanY(hole.right())) / 2;
            reading.mouthEndsRise = meanY(hole.center().x()) - ends;
        } else {
            ++reading.others;
        }
    }
    return reading;
}

TEST(Faces, TheRightAnswerPictureIsAYellowSmilingFaceAndTheWrongAnswerOneARedSadFace)
{
    struct Want {
        std::string_view resource;
        QRgb colour;
        bool smiling;
    };
    for (const Want &want : {Want{question::kHappyFacePicture, kYellow, true}, Want{question::kSadFacePicture, kSadRed, false}}) {
        SCOPED_TRACE(std::string(want.resource));
        const QImage image = picture(want.resource);
        ASSERT_FALSE(image.isNull());
        const FaceReading face = readFace(image, want.colour);
        EXPECT_EQ(face.eyes, 2);
        EXPECT_EQ(face.mouths, 1);
        EXPECT_EQ(face.others, 0);
        if (want.smiling) {
            EXPECT_GE(face.mouthEndsRise, 3.0) << "the mouth's ends should turn up";
        } else {
            EXPECT_LE(face.mouthEndsRise, -3.0) << "the mouth's ends should turn down";
        }
        EXPECT_GE(face.face.width(), image.width() * 4 / 5) << "the face should fill its picture";
        EXPECT_GE(face.face.height(), image.height() * 4 / 5);
    }
}

// ---------------------------------------------------------------------------------------------
// The window icon: a 32 × 32 icon in 16 colours of one red question mark on a transparent
// ground, the same picture as a PNG for Qt and the desktop, and as an SVG for the icon theme.

constexpr int kIconSize = 32;
const QString kIconFile = QStringLiteral(":/pictures/icon.ico");

// The colours of the icon file's one image as stored, before its mask is applied: an icon image
// is a bitmap without its file header, its height counting the mask stacked below the colours.
QImage storedIconColours(const QByteArray &ico)
{
    QByteArray bitmap = ico.mid(le32(ico, 18));
    qToLittleEndian<qint32>(qFromLittleEndian<qint32>(bitmap.constData() + 8) / 2, bitmap.data() + 8);
    QByteArray fileHeader(14, '\0');   // a zero offset: the pixels follow the colour table
    fileHeader[0] = 'B';
    fileHeader[1] = 'M';
    qToLittleEndian<quint32>(static_cast<quint32>(fileHeader.size() + bitmap.size()), fileHeader.data() + 2);
    return QImage::fromData(fileHeader + bitmap, "BMP");
}

class Icon : public testing::Test {
protected:
    void SetUp() override
    {
        m_file = bytesOf(kIconFile);
        ASSERT_GE(m_file.size(), 22 + 40) << "the icon is missing from the compiled-in resources";
        m_icon = QImage(kIconFile).convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(m_icon.isNull()) << "Qt cannot read the icon";
        ASSERT_EQ(m_icon.size(), QSize(kIconSize, kIconSize));
    }

    bool opaque(int x, int y) const { return qAlpha(m_icon.pixel(x, y)) != 0; }

    QByteArray m_file;
    QImage m_icon;
};

TEST_F(Icon, FileHoldsOne32By32ImageIn16Colours)
{
    EXPECT_EQ(le16(m_file, 2), 1u) << "an icon, not a cursor";
    EXPECT_EQ(le16(m_file, 4), 1u) << "images in the file";
    EXPECT_EQ(static_cast<quint8>(m_file.at(6)), kIconSize);
    EXPECT_EQ(static_cast<quint8>(m_file.at(7)), kIconSize);
    EXPECT_EQ(static_cast<quint8>(m_file.at(8)), 16) << "colours, as the directory gives them";
    EXPECT_EQ(le16(m_file, 12), 4u) << "bits a pixel, as the directory gives them";
    EXPECT_EQ(le32(m_file, 18) + le32(m_file, 14), static_cast<quint32>(m_file.size())) << "the image ends the file";
    const QImage colours = storedIconColours(m_file);
    ASSERT_FALSE(colours.isNull());
    EXPECT_EQ(colours.size(), QSize(kIconSize, kIconSize));
    EXPECT_EQ(colours.format(), QImage::Format_Indexed8);
    EXPECT_LE(colours.colorCount(), 16);
}

TEST_F(Icon, GroundIsTransparentAndTheGlyphIsOpaqueRed)
{
    for (const QPoint corner : {QPoint(0, 0), QPoint(kIconSize - 1, 0), QPoint(0, kIconSize - 1),
                                QPoint(kIconSize - 1, kIconSize - 1)})
        EXPECT_FALSE(opaque(corner.x(), corner.y())) << "corner " << corner.x() << "," << corner.y();
    const QImage stored = storedIconColours(m_file);
    ASSERT_EQ(stored.size(), m_icon.size());
    int glyphPixels = 0;
    for (int y = 0; y < kIconSize; ++y) {
        for (int x = 0; x < kIconSize; ++x) {
            if (opaque(x, y)) {
                ++glyphPixels;
                EXPECT_EQ(m_icon.pixel(x, y), kRed) << "glyph pixel " << x << "," << y;
            } else {
                // Where the mask lets the ground through, a reader combines it with the stored
                // colour by exclusive or: anything but black would tint the ground.
                EXPECT_EQ(stored.pixel(x, y), kBlack) << "transparent pixel " << x << "," << y;
            }
        }
    }
    EXPECT_GE(glyphPixels, kIconSize * kIconSize / 10) << "the glyph should be bold enough to see";
    EXPECT_LE(glyphPixels, kIconSize * kIconSize / 2);
}

// A question mark: a hook with its stem, and below it a separate, smaller dot.
TEST_F(Icon, GlyphIsAQuestionMark)
{
    std::vector<Part> parts = partsOf(m_icon, [](QRgb p) { return qAlpha(p) != 0; }, true);
    ASSERT_EQ(parts.size(), 2u) << "a hook with its stem, and a dot";
    std::sort(parts.begin(), parts.end(), [](const Part &a, const Part &b) { return a.size() > b.size(); });
    const QRect hook = bounds(parts[0]);
    const QRect dot = bounds(parts[1]);
    EXPECT_GT(dot.top(), hook.bottom()) << "the dot lies wholly below the hook";
    EXPECT_LT(parts[1].size() * 4, parts[0].size()) << "the dot is small beside the hook";
    EXPECT_LT(hook.left(), dot.left()) << "the hook reaches out further than the dot on both sides";
    EXPECT_GT(hook.right(), dot.right());
}

TEST_F(Icon, PngShowsTheSamePicture)
{
    const QImage png = QImage(path(screens::title::kIcon)).convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(png.isNull()) << "the PNG is missing from the compiled-in resources";
    ASSERT_EQ(png.size(), m_icon.size());
    for (int y = 0; y < kIconSize; ++y) {
        for (int x = 0; x < kIconSize; ++x) {
            EXPECT_EQ(qAlpha(png.pixel(x, y)), qAlpha(m_icon.pixel(x, y))) << x << "," << y;
            if (opaque(x, y)) {
                EXPECT_EQ(png.pixel(x, y), m_icon.pixel(x, y)) << x << "," << y;
            }
        }
    }
}

// The scalable icon is drawn from the same shapes. Rendered eight times larger and brought back
// to the 32 × 32 grid, every pixel it covers for the most part is a glyph pixel of the icon and
// every pixel it leaves for the most part empty is transparent there; only pixels cut through
// by an edge can go either way.
TEST_F(Icon, SvgDrawsTheSameGlyph)
{
    const QString svgFile = QStringLiteral(TARVELO_RESOURCE_DIR "/tarvelo.svg");
    QXmlStreamReader xml(bytesOf(svgFile));
    ASSERT_TRUE(xml.readNextStartElement());
    EXPECT_EQ(xml.name(), QStringLiteral("svg"));
    EXPECT_EQ(xml.namespaceUri(), QStringLiteral("http://www.w3.org/2000/svg"));
    EXPECT_EQ(xml.attributes().value(QStringLiteral("viewBox")), QStringLiteral("0 0 32 32"));
    while (!xml.atEnd())
        xml.readNext();
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();

    const QString renderer = QStringLiteral(TARVELO_SVG_RENDERER);
    if (renderer.isEmpty())
        GTEST_SKIP() << "librsvg's rsvg-convert was not found when the build was configured";
    constexpr int kScale = 8;
    constexpr int kBig = kIconSize * kScale;
    QProcess render;
    render.start(renderer, {QStringLiteral("--width"), QString::number(kBig), QStringLiteral("--height"),
                            QString::number(kBig), QStringLiteral("--format"), QStringLiteral("png"), svgFile});
    ASSERT_TRUE(render.waitForStarted(10000));
    ASSERT_TRUE(render.waitForFinished(60000));
    ASSERT_EQ(render.exitCode(), 0) << render.readAllStandardError().toStdString();
    const QImage rendered = QImage::fromData(render.readAllStandardOutput(), "PNG").convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(rendered.size(), QSize(kBig, kBig)) << "the SVG did not render at " << kBig << " pixels square";

    int uncertain = 0;
    for (int y = 0; y < kIconSize; ++y) {
        for (int x = 0; x < kIconSize; ++x) {
            int alphaSum = 0;
            for (int j = 0; j < kScale; ++j)
                for (int i = 0; i < kScale; ++i)
                    alphaSum += qAlpha(rendered.pixel(x * kScale + i, y * kScale + j));
            const double coverage = alphaSum / (255.0 * kScale * kScale);
            if (coverage >= 0.75) {
                EXPECT_TRUE(opaque(x, y)) << "the SVG covers " << x << "," << y;
            } else if (coverage <= 0.25) {
                EXPECT_FALSE(opaque(x, y)) << "the SVG leaves " << x << "," << y << " empty";
            } else {
                ++uncertain;
            }
        }
    }
    EXPECT_LE(uncertain, kIconSize * kIconSize / 10) << "too many pixels half covered for the same glyph";
}

}  // namespace
