// At any scale the layout, the fonts and the pictures grow together. This suite runs once at the
// platform's own scale and once more with QT_SCALE_FACTOR=2, beside the layout tables.

// Own
#include "screen_fixture.h"

namespace screens_test {
namespace {

using HighDpi = ShellFixture;

double requestedScale()
{
    return qEnvironmentVariableIsSet("QT_SCALE_FACTOR") ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble() : 1.0;
}

TEST_F(HighDpi, PicturesAndTextGrowWithTheControls)
{
    const double scale = requestedScale();
    enterQuiz(0);
    click(button("cmdOptions"));
    EXPECT_DOUBLE_EQ(question().devicePixelRatioF(), scale);

    QWidget &frames = child<QWidget>(question(), "Image1");
    const QImage shot = frames.grab().toImage();
    ASSERT_EQ(shot.size(), QSize(470, 236) * scale) << "the picture fills its control in device pixels";
    // The left edge of the upper option box, at picture pixel 18, 100, wherever the scale puts it.
    const QPoint edge(static_cast<int>(18 * scale + scale / 2), static_cast<int>(100 * scale));
    EXPECT_EQ(shot.pixelColor(edge), QColor(0, 128, 255));

    QLabel &option = label("lblAnsOne");
    const QImage text = option.grab().toImage();
    ASSERT_EQ(text.size(), QSize(193, 49) * scale);
    // The caption is drawn inside the label at every scale: some of its rows carry white ink.
    int inkRows = 0;
    for (int y = 0; y < text.height(); ++y)
        for (int x = 0; x < text.width(); ++x)
            if (text.pixelColor(x, y).lightness() > 200) {
                ++inkRows;
                break;
            }
    EXPECT_GE(inkRows, static_cast<int>(8 * scale)) << "a 12 point caption is at least 8 pixels high at 96 dpi";
    EXPECT_LT(inkRows, text.height());
}

}  // namespace
}  // namespace screens_test
