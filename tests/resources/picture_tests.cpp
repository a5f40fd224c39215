// The question screen's four pictures: their file format, their colours, where the outlined
// boxes run, and that the faces read as a smiling and a sad one.

// Own
#include "picture_reading.h"

// Qt
#include <QImage>
#include <QRect>
#include <QString>

#include <gtest/gtest.h>

// Standard
#include <algorithm>
#include <cstdint>
#include <set>
#include <vector>

namespace {

using namespace resources_test;

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kOutline = 0x0080FF;   // RGB (0, 128, 255)
constexpr std::uint32_t kBar = 0x0000FF;       // RGB (0, 0, 255)
constexpr std::uint32_t kYellow = 0xFFFF00;
constexpr std::uint32_t kSadRed = 0xFF2F2F;    // RGB (255, 47, 47)

struct ExpectedPicture {
    const char *alias;
    int width;
    int height;
    std::set<std::uint32_t> colours;   // every colour that appears, and all of them do
};

const std::vector<ExpectedPicture> &expectedPictures()
{
    static const std::vector<ExpectedPicture> expected{
        {"image1.bmp", 470, 236, {kBlack, kOutline, kBar}},
        {"image2.bmp", 438, 97, {kBlack, kOutline}},
        {"image3.bmp", 43, 42, {kBlack, kYellow}},
        {"image4.bmp", 57, 51, {kBlack, kSadRed}},
    };
    return expected;
}

// Inclusive pixel bounds of one outlined box.
struct Box {
    int left, top, right, bottom;
};

const std::vector<Box> kOptionBoxes{
    {18, 80, 219, 145},    // upper row, left
    {242, 80, 459, 145},   // upper row, right
    {20, 156, 219, 223},   // lower row, left
    {242, 156, 458, 223},  // lower row, right
};
const Box kQuestionBox{2, 6, 434, 83};

// The x positions on row y, or y positions on column x, that hold colour rgb.
std::vector<int> onRow(const QImage &image, int y, std::uint32_t rgb)
{
    std::vector<int> xs;
    for (int x = 0; x < image.width(); ++x)
        if (rgbAt(image, x, y) == rgb)
            xs.push_back(x);
    return xs;
}

std::vector<int> onColumn(const QImage &image, int x, std::uint32_t rgb)
{
    std::vector<int> ys;
    for (int y = 0; y < image.height(); ++y)
        if (rgbAt(image, x, y) == rgb)
            ys.push_back(y);
    return ys;
}

// ---------------------------------------------------------------------------------------------

TEST(PictureFiles, EachIsAnUncompressedBottomUp24BitBitmapWithoutPaletteAt96Dpi)
{
    for (const ExpectedPicture &want : expectedPictures()) {
        SCOPED_TRACE(want.alias);
        const QByteArray bytes = pictureBytes(QString::fromLatin1(want.alias));
        ASSERT_GE(bytes.size(), 54) << "missing from the compiled-in resources, or truncated";
        const auto rowSize = static_cast<std::uint32_t>((want.width * 3 + 3) / 4 * 4);
        const std::uint32_t pixelBytes = rowSize * static_cast<std::uint32_t>(want.height);

        EXPECT_EQ(bytes.left(2), QByteArray("BM"));
        EXPECT_EQ(le32(bytes, 2), static_cast<std::uint32_t>(bytes.size())) << "file size field";
        EXPECT_EQ(le32(bytes, 10), 54u) << "pixels must follow the two headers, with no palette between";
        EXPECT_EQ(le32(bytes, 14), 40u) << "BITMAPINFOHEADER";
        EXPECT_EQ(le32(bytes, 18), static_cast<std::uint32_t>(want.width));
        EXPECT_EQ(le32(bytes, 22), static_cast<std::uint32_t>(want.height)) << "positive: bottom-up";
        EXPECT_EQ(le16(bytes, 26), 1u) << "planes";
        EXPECT_EQ(le16(bytes, 28), 24u) << "bits a pixel";
        EXPECT_EQ(le32(bytes, 30), 0u) << "BI_RGB";
        EXPECT_EQ(le32(bytes, 34), pixelBytes) << "image size";
        EXPECT_EQ(le32(bytes, 38), 3780u) << "horizontal pixels per metre";
        EXPECT_EQ(le32(bytes, 42), 3780u) << "vertical pixels per metre";
        EXPECT_EQ(le32(bytes, 46), 0u) << "colours used";
        EXPECT_EQ(le32(bytes, 50), 0u) << "important colours";
        EXPECT_EQ(static_cast<std::uint32_t>(bytes.size()), 54u + pixelBytes)
            << "rows padded to four bytes, and nothing after them";

        const QImage image = picture(QString::fromLatin1(want.alias));
        ASSERT_FALSE(image.isNull()) << "Qt cannot read it";
        EXPECT_EQ(image.size(), QSize(want.width, want.height));
        EXPECT_EQ(image.dotsPerMeterX(), 3780);
        EXPECT_EQ(image.dotsPerMeterY(), 3780);
    }
}

TEST(PictureColours, OnlyTheNamedColoursAppearAndEachOfThemDoes)
{
    for (const ExpectedPicture &want : expectedPictures()) {
        SCOPED_TRACE(want.alias);
        const QImage image = picture(QString::fromLatin1(want.alias));
        ASSERT_FALSE(image.isNull());
        std::set<std::uint32_t> found;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                found.insert(rgbAt(image, x, y));
        EXPECT_EQ(found, want.colours) << "an anti-aliased or stray colour, or a missing one";
    }
}

// ---------------------------------------------------------------------------------------------

TEST(OptionBoxes, TopEightyRowsArePlainBlack)
{
    const QImage image = picture(QStringLiteral("image1.bmp"));
    ASSERT_FALSE(image.isNull());
    for (int y = 0; y < 80; ++y)
        EXPECT_EQ(onRow(image, y, kBlack).size(), static_cast<std::size_t>(image.width())) << "row " << y;
}

// Across the straight part of the boxes every row meets the outline exactly at the four side
// edges, one pixel each; down the straight part every column meets it exactly at the top and
// bottom edges of both rows of boxes.
TEST(OptionBoxes, OutlinesRunOnePixelWideOnTheBoxEdges)
{
    const QImage image = picture(QStringLiteral("image1.bmp"));
    ASSERT_FALSE(image.isNull());
    for (int y = 92; y <= 133; ++y)
        EXPECT_EQ(onRow(image, y, kOutline), (std::vector<int>{18, 219, 242, 459})) << "row " << y;
    for (int y = 168; y <= 211; ++y)
        EXPECT_EQ(onRow(image, y, kOutline), (std::vector<int>{20, 219, 242, 458})) << "row " << y;
    for (int x : {32, 119, 205, 256, 350, 445})
        EXPECT_EQ(onColumn(image, x, kOutline), (std::vector<int>{80, 145, 156, 223})) << "column " << x;
}

TEST(OptionBoxes, EachBoxIsClosedWithRoundedCornersAndBlackInside)
{
    const QImage image = picture(QStringLiteral("image1.bmp"));
    ASSERT_FALSE(image.isNull());
    for (const Box &box : kOptionBoxes) {
        SCOPED_TRACE(testing::Message() << "box from x " << box.left << ", y " << box.top);
        const QPoint middle((box.left + box.right) / 2, (box.top + box.bottom) / 2);
        ASSERT_EQ(rgbAt(image, middle.x(), middle.y()), kBlack);
        // A fill of the inside's black that escaped the bounds would mean a gap in the outline.
        for (const QPoint p : region(image, middle, kBlack)) {
            ASSERT_GT(p.x(), box.left);
            ASSERT_LT(p.x(), box.right);
            ASSERT_GT(p.y(), box.top);
            ASSERT_LT(p.y(), box.bottom);
        }
        for (const QPoint corner : {QPoint(box.left, box.top), QPoint(box.right, box.top),
                                    QPoint(box.left, box.bottom), QPoint(box.right, box.bottom)})
            EXPECT_EQ(rgbAt(image, corner.x(), corner.y()), kBlack) << "square corner at " << corner.x() << "," << corner.y();
    }
}

// In each row of boxes an unbroken bar crosses the whole gap from the left box to the right
// one, and the bar colour appears nowhere but in those gaps.
TEST(OptionBoxes, ABarJoinsTheTwoBoxesOfEachRow)
{
    const QImage image = picture(QStringLiteral("image1.bmp"));
    ASSERT_FALSE(image.isNull());
    for (const auto &[left, right] : {std::pair{kOptionBoxes[0], kOptionBoxes[1]}, std::pair{kOptionBoxes[2], kOptionBoxes[3]}}) {
        SCOPED_TRACE(testing::Message() << "row from y " << left.top);
        bool joined = false;
        for (int y = left.top + 1; y < left.bottom && !joined; ++y) {
            const std::vector<int> bar = onRow(image, y, kBar);
            joined = !bar.empty() && bar.front() == left.right + 1 && bar.back() == right.left - 1
                  && bar.size() == static_cast<std::size_t>(right.left - left.right - 1);
        }
        EXPECT_TRUE(joined);
    }
    for (int y = 0; y < image.height(); ++y) {
        for (const int x : onRow(image, y, kBar)) {
            const bool inGap = x > 219 && x < 242
                && ((y > 80 && y < 145) || (y > 156 && y < 223));
            EXPECT_TRUE(inGap) << "bar colour at " << x << "," << y;
        }
    }
}

// ---------------------------------------------------------------------------------------------

TEST(QuestionBox, OutlineRunsOnePixelWideOnItsBoundsAndNothingElseIsDrawn)
{
    const QImage image = picture(QStringLiteral("image2.bmp"));
    ASSERT_FALSE(image.isNull());
    for (int y = 18; y <= 71; ++y)
        EXPECT_EQ(onRow(image, y, kOutline), (std::vector<int>{2, 434})) << "row " << y;
    for (int x = 14; x <= 422; ++x)
        EXPECT_EQ(onColumn(image, x, kOutline), (std::vector<int>{6, 83})) << "column " << x;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool within = x >= kQuestionBox.left && x <= kQuestionBox.right
                && y >= kQuestionBox.top && y <= kQuestionBox.bottom;
            if (!within) {
                ASSERT_EQ(rgbAt(image, x, y), kBlack) << "outside the box at " << x << "," << y;
            }
        }
    }
}

TEST(QuestionBox, IsClosedWithRoundedCornersAndBlackInside)
{
    const QImage image = picture(QStringLiteral("image2.bmp"));
    ASSERT_FALSE(image.isNull());
    const Box &box = kQuestionBox;
    const QPoint middle((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    const std::vector<QPoint> inside = region(image, middle, kBlack);
    for (const QPoint p : inside) {
        ASSERT_GT(p.x(), box.left);
        ASSERT_LT(p.x(), box.right);
        ASSERT_GT(p.y(), box.top);
        ASSERT_LT(p.y(), box.bottom);
    }
    // The inside is one black area: all the box but its outline, less at most a 6 × 6 square
    // cut off at each rounded corner.
    EXPECT_GE(inside.size(), static_cast<std::size_t>((box.right - box.left - 1) * (box.bottom - box.top - 1) - 4 * 36));
    for (const QPoint corner : {QPoint(box.left, box.top), QPoint(box.right, box.top),
                                QPoint(box.left, box.bottom), QPoint(box.right, box.bottom)})
        EXPECT_EQ(rgbAt(image, corner.x(), corner.y()), kBlack);
}

// ---------------------------------------------------------------------------------------------

// The labels, check boxes and button that the screen draws over a picture are opaque. None of
// them may cover a line of it: each option label and the question label sits inside its box.
TEST(PictureLayout, ControlsStandingOnAPictureHideNoPartOfItsLines)
{
    struct Placed {
        const char *name;
        int left, top, width, height;   // twips on the question screen
    };
    struct OnPicture {
        const char *alias;
        int left, top;                  // twips on the question screen
        std::vector<Placed> controls;
    };
    const std::vector<OnPicture> layouts{
        {"image1.bmp", 480, 1920, {
            {"Check4", 3840, 4440, 255, 255},
            {"Check3", 480, 4440, 255, 255},
            {"Check2", 3840, 3240, 255, 255},
            {"Check1", 480, 3120, 255, 375},
            {"cmdOptions", 2640, 2280, 2055, 375},
            {"lblAnsfour", 4200, 4320, 3135, 855},
            {"lblAnsthree", 840, 4440, 2895, 735},
            {"lblAnsTwo", 4200, 3240, 3135, 735},
            {"lblAnsOne", 840, 3240, 2895, 735},
        }},
        {"image2.bmp", 840, 600, {
            {"lblQuestion", 960, 720, 6375, 1095},
        }},
    };
    constexpr int kTwipsPerPixel = 15;
    for (const OnPicture &layout : layouts) {
        const QImage image = picture(QString::fromLatin1(layout.alias));
        ASSERT_FALSE(image.isNull());
        for (const Placed &control : layout.controls) {
            SCOPED_TRACE(control.name);
            const QRect covered = QRect((control.left - layout.left) / kTwipsPerPixel,
                                        (control.top - layout.top) / kTwipsPerPixel,
                                        control.width / kTwipsPerPixel, control.height / kTwipsPerPixel)
                                      .intersected(image.rect());
            ASSERT_FALSE(covered.isEmpty()) << "does not stand on " << layout.alias;
            for (int y = covered.top(); y <= covered.bottom(); ++y)
                for (int x = covered.left(); x <= covered.right(); ++x)
                    ASSERT_EQ(rgbAt(image, x, y), kBlack) << "covers a line at " << x << "," << y;
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

// Reads a face the way a person does: a disc of one colour with two holes for eyes above its
// middle and one for the mouth below; a smile's ends turn up, a frown's turn down.
FaceReading readFace(const QImage &image, std::uint32_t faceColour)
{
    FaceReading reading;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (rgbAt(image, x, y) == faceColour)
                reading.face |= QRect(x, y, 1, 1);
    const int middle = reading.face.center().y();
    for (const std::vector<QPoint> &part : enclosedBlackParts(image)) {
        const auto [top, bottom] = std::minmax_element(part.begin(), part.end(),
                                                       [](QPoint a, QPoint b) { return a.y() < b.y(); });
        if (bottom->y() < middle) {
            ++reading.eyes;
        } else if (top->y() > middle) {
            ++reading.mouths;
            // Mean height of the mouth's middle column against that of its outermost columns.
            const auto [leftmost, rightmost] = std::minmax_element(part.begin(), part.end(),
                                                                   [](QPoint a, QPoint b) { return a.x() < b.x(); });
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
            const double ends = (meanY(leftmost->x()) + meanY(rightmost->x())) / 2;
            reading.mouthEndsRise = meanY((leftmost->x() + rightmost->x()) / 2) - ends;
        } else {
            ++reading.others;
        }
    }
    return reading;
}

TEST(Faces, TheRightAnswerPictureIsAYellowSmilingFace)
{
    const QImage image = picture(QStringLiteral("image3.bmp"));
    ASSERT_FALSE(image.isNull());
    const FaceReading face = readFace(image, kYellow);
    EXPECT_EQ(face.eyes, 2);
    EXPECT_EQ(face.mouths, 1);
    EXPECT_EQ(face.others, 0);
    EXPECT_GE(face.mouthEndsRise, 3.0) << "the mouth's ends should turn up";
    EXPECT_GE(face.face.width(), image.width() * 4 / 5) << "the face should fill its picture";
    EXPECT_GE(face.face.height(), image.height() * 4 / 5);
}

TEST(Faces, TheWrongAnswerPictureIsARedSadFace)
{
    const QImage image = picture(QStringLiteral("image4.bmp"));
    ASSERT_FALSE(image.isNull());
    const FaceReading face = readFace(image, kSadRed);
    EXPECT_EQ(face.eyes, 2);
    EXPECT_EQ(face.mouths, 1);
    EXPECT_EQ(face.others, 0);
    EXPECT_LE(face.mouthEndsRise, -3.0) << "the mouth's ends should turn down";
    EXPECT_GE(face.face.width(), image.width() * 4 / 5);
    EXPECT_GE(face.face.height(), image.height() * 4 / 5);
}

}  // namespace
