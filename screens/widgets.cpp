// Own
#include "widgets.h"

// Qt
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

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
