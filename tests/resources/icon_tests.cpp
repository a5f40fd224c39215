// The window icon: a 32 × 32, 16-colour icon of one red question mark on a transparent ground,
// the same picture as a PNG for Qt and the desktop, and as an SVG for the scalable icon theme.

// Own
#include "picture_reading.h"

// Qt
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

// Standard
#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

using namespace resources_test;

constexpr int kSize = 32;
constexpr std::uint32_t kRed = 0xFF0000;

class IconTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_file = pictureBytes(QStringLiteral("icon.ico"));
        ASSERT_FALSE(m_file.isEmpty()) << "the icon is missing from the compiled-in resources";
        m_icon = decodeSixteenColourIcon(m_file);
        ASSERT_EQ(m_icon.width, kSize) << "not a readable 16-colour icon";
        ASSERT_EQ(m_icon.height, kSize);
    }

    bool opaque(int x, int y) const { return !m_icon.isTransparent(x, y); }
    std::uint32_t colourAt(int x, int y) const
    {
        return m_icon.palette.at(static_cast<std::size_t>(m_icon.indexAt(x, y)));
    }

    QByteArray m_file;
    DecodedIcon m_icon;
};

TEST_F(IconTest, FileHoldsOne32By32ImageIn16ColoursWithItsMask)
{
    const QByteArray &f = m_file;
    EXPECT_EQ(le16(f, 0), 0u) << "reserved";
    EXPECT_EQ(le16(f, 2), 1u) << "type: icon";
    EXPECT_EQ(le16(f, 4), 1u) << "one image";
    EXPECT_EQ(static_cast<unsigned char>(f.at(6)), 32) << "width";
    EXPECT_EQ(static_cast<unsigned char>(f.at(7)), 32) << "height";
    EXPECT_EQ(static_cast<unsigned char>(f.at(8)), 16) << "colours in the palette";
    EXPECT_EQ(le16(f, 12), 4u) << "bits a pixel in the directory";
    const std::uint32_t size = le32(f, 14);
    const std::uint32_t offset = le32(f, 18);
    EXPECT_EQ(offset, 22u) << "the image follows the directory";
    EXPECT_EQ(offset + size, static_cast<std::uint32_t>(f.size()));

    const auto at = static_cast<int>(offset);
    EXPECT_EQ(le32(f, at), 40u) << "BITMAPINFOHEADER";
    EXPECT_EQ(le32(f, at + 4), 32u);
    EXPECT_EQ(le32(f, at + 8), 64u) << "colour bitmap and mask stacked";
    EXPECT_EQ(le16(f, at + 12), 1u) << "planes";
    EXPECT_EQ(le16(f, at + 14), 4u) << "bits a pixel";
    EXPECT_EQ(le32(f, at + 16), 0u) << "uncompressed";
    // Header, 16 palette entries, 4-bit colours, 1-bit mask: nothing missing, nothing extra.
    EXPECT_EQ(size, 40u + 16u * 4u + 32u * 32u / 2u + 32u * 4u);
}

TEST_F(IconTest, GroundIsTransparentAndTheGlyphIsOpaqueRed)
{
    for (const auto &[x, y] : {std::pair{0, 0}, std::pair{kSize - 1, 0}, std::pair{0, kSize - 1},
                               std::pair{kSize - 1, kSize - 1}})
        EXPECT_FALSE(opaque(x, y)) << "corner " << x << "," << y;

    int glyphPixels = 0;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (opaque(x, y)) {
                ++glyphPixels;
                EXPECT_EQ(colourAt(x, y), kRed) << "glyph pixel " << x << "," << y;
            } else {
                // The mask clears these pixels and the colour is then combined with the ground
                // by exclusive or: anything but colour 0 would tint the ground behind the icon.
                EXPECT_EQ(m_icon.indexAt(x, y), 0) << "transparent pixel " << x << "," << y;
            }
        }
    }
    EXPECT_GE(glyphPixels, kSize * kSize / 10) << "the glyph should be bold enough to see";
    EXPECT_LE(glyphPixels, kSize * kSize / 2);
}

// A question mark: a hook with its stem, and below it a separate dot.
TEST_F(IconTest, GlyphIsAQuestionMark)
{
    std::vector<int> part(kSize * kSize, -1);
    std::vector<std::vector<std::pair<int, int>>> parts;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (!opaque(x, y) || part[static_cast<std::size_t>(y * kSize + x)] >= 0)
                continue;
            const int id = static_cast<int>(parts.size());
            parts.emplace_back();
            std::vector<std::pair<int, int>> stack{{x, y}};
            part[static_cast<std::size_t>(y * kSize + x)] = id;
            while (!stack.empty()) {
                const auto [px, py] = stack.back();
                stack.pop_back();
                parts.back().push_back({px, py});
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = px + dx;
                        const int ny = py + dy;
                        if (nx < 0 || ny < 0 || nx >= kSize || ny >= kSize || !opaque(nx, ny)
                            || part[static_cast<std::size_t>(ny * kSize + nx)] >= 0)
                            continue;
                        part[static_cast<std::size_t>(ny * kSize + nx)] = id;
                        stack.push_back({nx, ny});
                    }
            }
        }
    }
    ASSERT_EQ(parts.size(), 2u) << "a hook with its stem, and a dot";
    std::sort(parts.begin(), parts.end(), [](const auto &a, const auto &b) { return a.size() > b.size(); });
    const auto lowest = [](const auto &points) {
        return std::max_element(points.begin(), points.end(), [](auto a, auto b) { return a.second < b.second; })->second;
    };
    const auto highest = [](const auto &points) {
        return std::min_element(points.begin(), points.end(), [](auto a, auto b) { return a.second < b.second; })->second;
    };
    EXPECT_GT(highest(parts[1]), lowest(parts[0])) << "the dot lies wholly below the hook";
    EXPECT_LT(parts[1].size() * 4, parts[0].size()) << "the dot is small beside the hook";
    // The hook is wider than the stem: it reaches further out than the dot on both sides.
    const auto [hookLeft, hookRight] = std::minmax_element(parts[0].begin(), parts[0].end());
    const auto [dotLeft, dotRight] = std::minmax_element(parts[1].begin(), parts[1].end());
    EXPECT_LT(hookLeft->first, dotLeft->first);
    EXPECT_GT(hookRight->first, dotRight->first);
}

TEST_F(IconTest, PngShowsTheSamePictureWithAlpha)
{
    const QImage png = picture(QStringLiteral("icon.png"));
    ASSERT_FALSE(png.isNull()) << "the PNG is missing from the compiled-in resources";
    ASSERT_EQ(png.size(), QSize(kSize, kSize));
    ASSERT_TRUE(png.hasAlphaChannel());
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const QRgb p = png.pixel(x, y);
            if (opaque(x, y)) {
                EXPECT_EQ(qAlpha(p), 255) << x << "," << y;
                EXPECT_EQ(static_cast<std::uint32_t>(p) & 0xFFFFFFu, colourAt(x, y)) << x << "," << y;
            } else {
                EXPECT_EQ(qAlpha(p), 0) << x << "," << y;
            }
        }
    }
}

TEST_F(IconTest, QtReadsTheIconFileAsThePngPicture)
{
    if (!QImageReader::supportedImageFormats().contains("ico"))
        GTEST_SKIP() << "this Qt has no reader for icon files";
    const QImage ico = picture(QStringLiteral("icon.ico")).convertToFormat(QImage::Format_ARGB32);
    const QImage png = picture(QStringLiteral("icon.png")).convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(ico.isNull());
    ASSERT_EQ(ico.size(), png.size());
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const QRgb a = ico.pixel(x, y);
            const QRgb b = png.pixel(x, y);
            EXPECT_EQ(qAlpha(a), qAlpha(b)) << x << "," << y;
            if (qAlpha(b) != 0) {
                EXPECT_EQ(a, b) << x << "," << y;
            }
        }
    }
}

// The scalable icon is drawn from the same shapes. Rendered eight times larger and brought back
// to the 32 × 32 grid, every pixel it covers for the most part is a glyph pixel of the icon and
// every pixel it leaves for the most part empty is transparent there; only pixels cut through
// by an edge can go either way.
TEST_F(IconTest, SvgDrawsTheSameGlyph)
{
    QFile file(QStringLiteral(TARVELO_RESOURCE_DIR "/tarvelo.svg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray svg = file.readAll();
    QXmlStreamReader xml(svg);
    ASSERT_TRUE(xml.readNextStartElement());
    EXPECT_EQ(xml.name(), QStringLiteral("svg"));
    EXPECT_EQ(xml.namespaceUri(), QStringLiteral("http://www.w3.org/2000/svg"));
    EXPECT_EQ(xml.attributes().value(QStringLiteral("viewBox")), QStringLiteral("0 0 32 32"));
    while (!xml.atEnd())
        xml.readNext();
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();

    const QString convert = QStringLiteral(TARVELO_CONVERT);
    if (convert.isEmpty())
        GTEST_SKIP() << "ImageMagick's convert was not found when the build was configured";
    constexpr int kScale = 8;
    QProcess render;
    render.start(convert, {QStringLiteral("-background"), QStringLiteral("none"), QStringLiteral("-density"),
                           QString::number(96 * kScale), file.fileName(), QStringLiteral("-depth"),
                           QStringLiteral("8"), QStringLiteral("rgba:-")});
    ASSERT_TRUE(render.waitForStarted(10000));
    ASSERT_TRUE(render.waitForFinished(60000));
    ASSERT_EQ(render.exitCode(), 0) << render.readAllStandardError().toStdString();
    const QByteArray rgba = render.readAllStandardOutput();
    constexpr int kBig = kSize * kScale;
    ASSERT_EQ(rgba.size(), kBig * kBig * 4) << "the SVG did not render at " << kBig << " pixels square";

    int uncertain = 0;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            int alphaSum = 0;
            for (int j = 0; j < kScale; ++j)
                for (int i = 0; i < kScale; ++i)
                    alphaSum += static_cast<unsigned char>(rgba.at(((y * kScale + j) * kBig + x * kScale + i) * 4 + 3));
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
    EXPECT_LE(uncertain, kSize * kSize / 10) << "too many pixels half covered for the same glyph";
}

}  // namespace
