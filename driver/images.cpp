// Own
#include "images.h"

// Qt
#include <QPainter>

// Standard
#include <cmath>
#include <stdexcept>
#include <unordered_set>

namespace driver {
namespace {

void requireSameSize(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.isNull())
        throw std::invalid_argument("pictures of different sizes cannot be compared");
}

QImage rgb32(const QImage &image) { return image.convertToFormat(QImage::Format_RGB32); }

}  // namespace

double rmse(const QImage &first, const QImage &second)
{
    requireSameSize(first, second);
    const QImage a = rgb32(first);
    const QImage b = rgb32(second);
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto *p = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const auto *q = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const double dr = qRed(p[x]) - qRed(q[x]);
            const double dg = qGreen(p[x]) - qGreen(q[x]);
            const double db = qBlue(p[x]) - qBlue(q[x]);
            sum += dr * dr + dg * dg + db * db;
        }
    }
    const double samples = 3.0 * a.width() * a.height();
    return std::sqrt(sum / samples) / 255.0;
}

long long differingPixels(const QImage &first, const QImage &second)
{
    requireSameSize(first, second);
    const QImage a = rgb32(first);
    const QImage b = rgb32(second);
    long long count = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto *p = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const auto *q = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            count += (p[x] & 0xFFFFFFu) != (q[x] & 0xFFFFFFu) ? 1 : 0;
    }
    return count;
}

int colourCount(const QImage &image) { return colourCount(std::vector<QImage>{image}); }

int colourCount(const std::vector<QImage> &images)
{
    std::unordered_set<QRgb> colours;
    for (const QImage &image : images) {
        const QImage a = rgb32(image);
        for (int y = 0; y < a.height(); ++y) {
            const auto *p = reinterpret_cast<const QRgb *>(a.constScanLine(y));
            for (int x = 0; x < a.width(); ++x)
                colours.insert(p[x] & 0xFFFFFFu);
        }
    }
    return static_cast<int>(colours.size());
}

QImage halved(const QImage &image)
{
    const QImage a = rgb32(image);
    QImage half(a.width() / 2, a.height() / 2, QImage::Format_RGB32);
    for (int y = 0; y < half.height(); ++y) {
        const auto *top = reinterpret_cast<const QRgb *>(a.constScanLine(2 * y));
        const auto *bottom = reinterpret_cast<const QRgb *>(a.constScanLine(2 * y + 1));
        auto *out = reinterpret_cast<QRgb *>(half.scanLine(y));
        for (int x = 0; x < half.width(); ++x) {
            const QRgb c[4] = {top[2 * x], top[2 * x + 1], bottom[2 * x], bottom[2 * x + 1]};
            auto mean = [&c](int (*part)(QRgb)) { return (part(c[0]) + part(c[1]) + part(c[2]) + part(c[3]) + 2) / 4; };
            out[x] = qRgb(mean(qRed), mean(qGreen), mean(qBlue));
        }
    }
    return half;
}

QImage masked(QImage image, const std::vector<QRect> &areas, QColor colour)
{
    QPainter painter(&image);
    for (const QRect &r : areas)
        painter.fillRect(r, colour);
    return image;
}

}  // namespace driver
