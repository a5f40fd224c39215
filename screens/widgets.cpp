// Own
#include "widgets.h"

// Qt
#include <QFontMetricsF>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

// Standard
#include <cmath>

namespace screens {

void WrappingButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    const QRect textArea = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.drawItemText(textArea, Qt::AlignCenter | Qt::TextWordWrap, palette(), isEnabled(), text(),
                         QPalette::ButtonText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

TextLabel::TextLabel(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setMargin(0);
    setIndent(0);
}

// Lines are broken and placed as QPainter places them for a rectangle of wrapped text: each below
// the last by the font's leading, on a whole pixel, and none laid out below the bottom edge.
void TextLabel::layOut(const QRect &area)
{
    m_laidOutText = text();
    m_laidOutFont = font();
    m_laidOutSize = area.size();
    QString shown = m_laidOutText;
    shown.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QChar::LineSeparator);
    m_layout.setText(shown);
    m_layout.setFont(QFont(m_laidOutFont, this));
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    option.setTextDirection(layoutDirection());
    m_layout.setTextOption(option);
    m_layout.setCacheEnabled(true);
    const qreal leading = QFontMetricsF(m_laidOutFont, this).leading();
    qreal height = -leading;
    m_layout.beginLayout();
    for (QTextLine line = m_layout.createLine(); line.isValid(); line = m_layout.createLine()) {
        line.setLineWidth(area.width());
        height = std::ceil(height + leading);
        line.setPosition(QPointF(0, height));
        height += line.ascent() + line.descent();
        if (height >= area.height())
            break;
    }
    m_layout.endLayout();
}

void TextLabel::paintEvent(QPaintEvent *)
{
    // An empty label shows its background only, which Qt has filled already.
    if (text().isEmpty())
        return;
    const QRect area = contentsRect();
    if (text() != m_laidOutText || font() != m_laidOutFont || area.size() != m_laidOutSize)
        layOut(area);
    QPainter painter(this);
    painter.setPen(QPen(palette().brush(foregroundRole()), 0));
    m_layout.draw(&painter, area.topLeft());
}

PictureBox::PictureBox(const QString &resource, QWidget *parent) : QWidget(parent), m_resource(resource)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

const QImage &PictureBox::image()
{
    // Converted once to the screen's own format, so that a paint copies pixels and never hands a
    // conversion to worker threads that would wake the idle program later to end.
    if (m_image.isNull())
        m_image = QImage(m_resource).convertToFormat(QImage::Format_RGB32);
    return m_image;
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(rect(), image());
}

}  // namespace screens
