// Draws the bench's results.csv as a bar chart: the game beside the reference for every moment and
// memory, then each idle figure of the game against its limit.
// Usage: tarvelo_bench_chart results.csv results.png

// Qt
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <QTextStream>

// Standard
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct Result {
    QString figure;
    QString label;
    QString unit;
    double gameMin = NAN, gameMedian = NAN, gameMax = NAN;
    double refMin = NAN, refMedian = NAN, refMax = NAN;
    double ratio = NAN;
    QString target;
    QString judgedOn;
    double judged = NAN;
    QString met;
};

double number(const QString &s)
{
    bool ok = false;
    const double v = s.toDouble(&ok);
    return ok ? v : NAN;
}

std::vector<Result> readResults(const QString &path)
{
    std::vector<Result> results;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return results;
    QTextStream in(&file);
    in.readLine();   // header
    while (!in.atEnd()) {
        const QStringList f = in.readLine().split(QLatin1Char(','));
        if (f.size() < 16)
            continue;
        Result r;
        r.figure = f[0];
        r.label = f[1];
        r.unit = f[2];
        r.gameMin = number(f[4]);
        r.gameMedian = number(f[5]);
        r.gameMax = number(f[6]);
        r.refMin = number(f[8]);
        r.refMedian = number(f[9]);
        r.refMax = number(f[10]);
        r.ratio = number(f[11]);
        r.target = f[12];
        r.judgedOn = f[13];
        r.judged = number(f[14]);
        r.met = f[15];
        results.push_back(r);
    }
    return results;
}

const QColor kGame(70, 110, 200);
const QColor kReference(160, 160, 160);
const QColor kMet(60, 160, 80);
const QColor kNotMet(210, 60, 50);

QString fmt(double v) { return std::isnan(v) ? QStringLiteral("-") : QString::number(v, 'g', 4); }

// One horizontal bar from x0 for value on a scale where full is width pixels, with a min-max whisker.
void bar(QPainter &p, int x0, int y, int width, int height, double scale, double value, double lo, double hi,
         const QColor &colour)
{
    if (std::isnan(value) || scale <= 0)
        return;
    const auto at = [&](double v) { return x0 + static_cast<int>(std::lround(std::min(v, scale) / scale * width)); };
    p.fillRect(QRect(x0, y, std::max(1, at(value) - x0), height), colour);
    if (!std::isnan(lo) && !std::isnan(hi)) {
        p.setPen(QPen(Qt::black, 1));
        const int mid = y + height / 2;
        p.drawLine(at(lo), mid, at(hi), mid);
        p.drawLine(at(lo), mid - 4, at(lo), mid + 4);
        p.drawLine(at(hi), mid - 4, at(hi), mid + 4);
    }
}

}  // namespace

int main(int argc, char *argv[])
{
    if (argc < 3)
        return 2;
    QGuiApplication app(argc, argv);
    const std::vector<Result> results = readResults(QString::fromLocal8Bit(argv[1]));
    if (results.empty())
        return 1;

    constexpr int kWidth = 1240;
    constexpr int kLabelWidth = 260;
    constexpr int kBarWidth = 480;
    const int rows = static_cast<int>(results.size());
    QImage image(kWidth, 120 + rows * 62, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    QFont title = p.font();
    title.setPixelSize(18);
    title.setBold(true);
    QFont text = p.font();
    text.setPixelSize(13);

    p.setFont(title);
    p.drawText(20, 30, QStringLiteral("Tarvelo bench: medians, whiskers from min to max"));
    p.setFont(text);
    p.fillRect(20, 45, 14, 14, kGame);
    p.drawText(40, 57, QStringLiteral("game"));
    p.fillRect(100, 45, 14, 14, kReference);
    p.drawText(120, 57, QStringLiteral("reference program (\"against none\": the game, no desktop named)"));
    p.drawText(560, 57, QStringLiteral("| dashed line: the limit the figure is held to"));

    int y = 80;
    for (const Result &r : results) {
        const bool ratio = !std::isnan(r.refMedian);
        p.setPen(Qt::black);
        p.drawText(QRect(20, y, kLabelWidth - 10, 40), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                   r.label + QStringLiteral(" (") + r.unit + QStringLiteral(")"));
        const int x0 = kLabelWidth + 20;
        double scale = std::max({r.gameMax, r.refMax, r.gameMedian, 0.0});
        double limitAt = NAN;
        if (ratio && r.target.startsWith(QStringLiteral("ratio")))
            limitAt = r.refMedian * number(r.target.section(QLatin1Char(' '), -1));
        else if (r.target.startsWith(QStringLiteral("0 to ")))   // a lateness: from 0 to its bound
            limitAt = number(r.target.section(QLatin1Char(' '), 2, 2));
        else if (!r.target.isEmpty())
            limitAt = number(r.target.section(QLatin1Char(' '), -1));
        if (!std::isnan(limitAt))
            scale = std::max(scale, limitAt);
        if (scale <= 0)
            scale = 1;
        scale *= 1.15;
        if (ratio) {
            bar(p, x0, y + 2, kBarWidth, 16, scale, r.gameMedian, r.gameMin, r.gameMax, kGame);
            bar(p, x0, y + 22, kBarWidth, 16, scale, r.refMedian, r.refMin, r.refMax, kReference);
        } else {
            bar(p, x0, y + 8, kBarWidth, 24, scale, r.gameMedian, r.gameMin, r.gameMax, kGame);
        }
        if (!std::isnan(limitAt)) {
            const int lx = x0 + static_cast<int>(std::lround(limitAt / scale * kBarWidth));
            p.setPen(QPen(Qt::black, 2, Qt::DashLine));
            p.drawLine(lx, y - 2, lx, y + 42);
        }
        p.setPen(Qt::black);
        QString summary = QStringLiteral("median ") + fmt(r.gameMedian);
        if (ratio)
            summary += QStringLiteral(" vs ") + fmt(r.refMedian) + QStringLiteral(", ratio ") + fmt(r.ratio);
        if (!r.target.isEmpty())
            summary += QStringLiteral("\ntarget ") + r.target + QStringLiteral(" on the ") + r.judgedOn +
                       QStringLiteral(": ") + fmt(r.judged);
        p.drawText(QRect(x0 + kBarWidth + 15, y, kWidth - x0 - kBarWidth - 125, 44), Qt::AlignLeft | Qt::AlignVCenter,
                   summary);
        if (!r.met.isEmpty()) {
            const QRect badge(kWidth - 95, y + 10, 80, 22);
            p.fillRect(badge, r.met == QStringLiteral("met") ? kMet : kNotMet);
            p.setPen(Qt::white);
            p.drawText(badge, Qt::AlignCenter, r.met);
        }
        p.setPen(QColor(220, 220, 220));
        p.drawLine(20, y + 52, kWidth - 20, y + 52);
        y += 62;
    }
    p.end();
    return image.save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
