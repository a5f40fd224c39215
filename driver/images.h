// Comparisons of screenshots: small functions over QImage.
#pragma once

// Qt
#include <QColor>
#include <QImage>
#include <QRect>

// Standard
#include <vector>

namespace driver {

// Root-mean-square difference of two pictures of one size over red, green and blue: 0 for the
// same picture, 1 for black against white. Throws std::invalid_argument when the sizes differ.
double rmse(const QImage &a, const QImage &b);
// Pixels whose colour differs between two pictures of one size.
long long differingPixels(const QImage &a, const QImage &b);
// Distinct colours in a picture, or in several together.
int colourCount(const QImage &image);
int colourCount(const std::vector<QImage> &images);
// Half as wide and as high, each pixel the mean of the 2 x 2 pixels it stands for.
QImage halved(const QImage &image);
// The picture with each area painted over in one colour.
QImage masked(QImage image, const std::vector<QRect> &areas, QColor colour = Qt::black);

}  // namespace driver
