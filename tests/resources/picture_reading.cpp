// Own
#include "picture_reading.h"

// Qt
#include <QFile>

// Standard
#include <deque>

namespace resources_test {

QByteArray pictureBytes(const QString &alias)
{
    QFile file(QStringLiteral(":/pictures/") + alias);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QImage picture(const QString &alias)
{
    return QImage(QStringLiteral(":/pictures/") + alias);
}

std::uint32_t le16(const QByteArray &bytes, int offset)
{
    const auto byte = [&](int i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes.at(offset + i))); };
    return byte(0) | (byte(1) << 8);
}

std::uint32_t le32(const QByteArray &bytes, int offset)
{
    return le16(bytes, offset) | (le16(bytes, offset + 2) << 16);
}

std::uint32_t rgbAt(const QImage &image, int x, int y)
{
    return static_cast<std::uint32_t>(image.pixel(x, y)) & 0xFFFFFFu;
}

std::vector<QPoint> region(const QImage &image, QPoint start, std::uint32_t rgb)
{
    std::vector<QPoint> found;
    std::vector<bool> seen(static_cast<std::size_t>(image.width() * image.height()), false);
    const auto index = [&](QPoint p) { return static_cast<std::size_t>(p.y() * image.width() + p.x()); };
    std::deque<QPoint> queue{start};
    seen[index(start)] = true;
    while (!queue.empty()) {
        const QPoint p = queue.front();
        queue.pop_front();
        found.push_back(p);
        for (const QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            const QPoint next = p + step;
            if (!image.rect().contains(next) || seen[index(next)] || rgbAt(image, next.x(), next.y()) != rgb)
                continue;
            seen[index(next)] = true;
            queue.push_back(next);
        }
    }
    return found;
}

std::vector<std::vector<QPoint>> enclosedBlackParts(const QImage &image)
{
    std::vector<bool> reached(static_cast<std::size_t>(image.width() * image.height()), false);
    const auto index = [&](QPoint p) { return static_cast<std::size_t>(p.y() * image.width() + p.x()); };
    const auto mark = [&](const std::vector<QPoint> &points) {
        for (const QPoint p : points)
            reached[index(p)] = true;
    };
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool onBorder = x == 0 || y == 0 || x == image.width() - 1 || y == image.height() - 1;
            if (onBorder && rgbAt(image, x, y) == 0 && !reached[index(QPoint(x, y))])
                mark(region(image, QPoint(x, y), 0));
        }
    }
    std::vector<std::vector<QPoint>> parts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (rgbAt(image, x, y) == 0 && !reached[index(QPoint(x, y))]) {
                parts.push_back(region(image, QPoint(x, y), 0));
                mark(parts.back());
            }
        }
    }
    return parts;
}

DecodedIcon decodeSixteenColourIcon(const QByteArray &file)
{
    DecodedIcon icon;
    if (file.size() < 6 + 16 || le16(file, 4) != 1)
        return icon;
    const auto offset = static_cast<int>(le32(file, 6 + 12));
    if (offset < 0 || file.size() < offset + 40)
        return icon;
    const auto width = static_cast<int>(le32(file, offset + 4));
    const auto height = static_cast<int>(le32(file, offset + 8)) / 2;   // colours and mask stacked
    const std::uint32_t bitCount = le16(file, offset + 14);
    const auto headerSize = static_cast<int>(le32(file, offset));
    if (bitCount != 4 || width <= 0 || height <= 0)
        return icon;
    const int paletteStart = offset + headerSize;
    const int colourStart = paletteStart + 16 * 4;
    const int colourRow = (width * 4 + 31) / 32 * 4;
    const int maskStart = colourStart + colourRow * height;
    const int maskRow = (width + 31) / 32 * 4;
    if (file.size() < maskStart + maskRow * height)
        return icon;

    const auto byteAt = [&](int i) { return static_cast<unsigned char>(file.at(i)); };
    for (int i = 0; i < 16; ++i) {
        const int entry = paletteStart + i * 4;   // blue, green, red, reserved
        icon.palette.push_back((static_cast<std::uint32_t>(byteAt(entry + 2)) << 16)
                               | (static_cast<std::uint32_t>(byteAt(entry + 1)) << 8) | byteAt(entry));
    }
    icon.colourIndex.resize(static_cast<std::size_t>(width * height));
    icon.transparent.resize(static_cast<std::size_t>(width * height));
    for (int y = 0; y < height; ++y) {
        const int storedRow = height - 1 - y;   // bottom-up
        for (int x = 0; x < width; ++x) {
            const unsigned char pair = byteAt(colourStart + storedRow * colourRow + x / 2);
            const auto cell = static_cast<std::size_t>(y * width + x);
            icon.colourIndex[cell] = x % 2 == 0 ? pair >> 4 : pair & 0x0F;
            const unsigned char maskByte = byteAt(maskStart + storedRow * maskRow + x / 8);
            icon.transparent[cell] = (maskByte & (0x80 >> (x % 8))) != 0;
        }
    }
    icon.width = width;
    icon.height = height;
    return icon;
}

}  // namespace resources_test
