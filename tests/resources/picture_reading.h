// Reading the pictures and the icon back as the game gets them: from the compiled-in resources.
#pragma once

// Qt
#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QString>

// Standard
#include <cstdint>
#include <vector>

namespace resources_test {

// The bytes of :/pictures/<alias>; empty when the resource is missing.
QByteArray pictureBytes(const QString &alias);

// :/pictures/<alias> decoded by Qt, as the screens will show it; null when it cannot be read.
QImage picture(const QString &alias);

// Little-endian fields of a file header. 0 <= offset, offset + width <= bytes.size().
std::uint32_t le16(const QByteArray &bytes, int offset);
std::uint32_t le32(const QByteArray &bytes, int offset);

// An opaque colour as 0xRRGGBB, the way the tests name colours.
std::uint32_t rgbAt(const QImage &image, int x, int y);

// The 4-connected region of pixels of colour rgb that contains start, which must have it.
std::vector<QPoint> region(const QImage &image, QPoint start, std::uint32_t rgb);

// The black pixels of a picture that are not 4-connected to its border, grouped into
// 4-connected parts: the holes inside a face, such as eyes and mouth.
std::vector<std::vector<QPoint>> enclosedBlackParts(const QImage &image);

// A 16-colour icon decoded by hand from its file, so that its mask and colour indices can be
// checked as stored, not as a reader chose to interpret them.
struct DecodedIcon {
    int width = 0;
    int height = 0;
    std::vector<int> colourIndex;     // row by row from the top
    std::vector<bool> transparent;    // from the AND mask
    std::vector<std::uint32_t> palette;   // 0xRRGGBB
    bool isTransparent(int x, int y) const { return transparent[static_cast<std::size_t>(y * width + x)]; }
    int indexAt(int x, int y) const { return colourIndex[static_cast<std::size_t>(y * width + x)]; }
};

// Decodes the single 4-bit image of an icon file; width stays 0 when the file is not one.
DecodedIcon decodeSixteenColourIcon(const QByteArray &file);

}  // namespace resources_test
