// The controls Qt does not have as the screens need them.
#pragma once

// Qt
#include <QFont>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QTextLayout>
#include <QWidget>

namespace screens {

// A push button whose caption wraps at word boundaries, as "Next Question" does on its two lines.
class WrappingButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A label of plain text, wrapped at word boundaries and aligned top left, that lays its text out
// once and draws every later paint from that layout. The title recolours its labels at every beat;
// QLabel shapes and breaks the same words again at each repaint, and that was most of what the
// idle title cost. It paints exactly what QLabel paints.
class TextLabel : public QLabel {
    Q_OBJECT
public:
    explicit TextLabel(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void layOut(const QRect &area);

    QTextLayout m_layout;
    QString m_laidOutText;
    QFont m_laidOutFont;
    QSize m_laidOutSize;
};

// One picture of the program's resources, drawn unscaled at 96 dpi and with the layout elsewhere.
// It is decoded on first paint, so that a screen built hidden costs nothing until it is seen.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    PictureBox(const QString &resource, QWidget *parent);
    const QImage &image();

    // A decorative picture says nothing to assistive tools.
    bool isDecorative() const { return m_decorative; }
    void setDecorative(bool decorative) { m_decorative = decorative; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_resource;
    QImage m_image;
    bool m_decorative = false;
};

}  // namespace screens
