// Own
#include "panel_keeping_style.h"

// Qt
#include <QGuiApplication>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTransform>

namespace screens {
namespace {

// In kilobytes: every look of every button of the three screens, a few dozen panels, even at twice
// the scale.
constexpr qsizetype kKeptKilobytes = 4096;

// A panel's look: everything Fusion's own cache tells panels apart by.
QString lookOf(const QStyleOption &option, qreal ratio)
{
    const auto *button = qstyleoption_cast<const QStyleOptionButton *>(&option);
    const int features = button != nullptr ? static_cast<int>(button->features) : -1;
    return QStringLiteral("%1 %2 %3 %4 %5x%6 %7")
        .arg(static_cast<uint>(option.state))
        .arg(features)
        .arg(static_cast<int>(option.direction))
        .arg(option.palette.cacheKey())
        .arg(option.rect.width())
        .arg(option.rect.height())
        .arg(ratio);
}

}  // namespace

PanelKeepingStyle::PanelKeepingStyle()
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))), m_panels(kKeptKilobytes)
{
}

void PanelKeepingStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                      const QWidget *widget) const
{
    // Fusion draws a panel through a picture only where the painter at most moves it, or scales it
    // to the device; anywhere else it draws straight onto the painter, and so does this style.
    const int transform = painter->deviceTransform().type() | painter->worldTransform().type();
    const bool pictured = transform <= QTransform::TxTranslate || painter->deviceTransform().type() == QTransform::TxScale;
    if (element != PE_PanelButtonCommand || option == nullptr || option->rect.isEmpty() || !pictured) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // Fusion's pictures are made at the program's pixel ratio, whatever the painter's device.
    const qreal ratio = qApp->devicePixelRatio();
    const QString look = lookOf(*option, ratio);
    const QImage *panel = m_panels.object(look);
    if (panel == nullptr) {
        // Fusion, asked for the panel moved to the picture's corner, draws it through its own picture
        // and copies that onto this transparent one unchanged.
        auto *made = new QImage(option->rect.size() * ratio, QImage::Format_ARGB32_Premultiplied);
        made->setDevicePixelRatio(ratio);
        made->fill(Qt::transparent);
        QPainter onto(made);
        onto.translate(-option->rect.topLeft());
        QProxyStyle::drawPrimitive(element, option, &onto, widget);
        onto.end();
        const qsizetype kilobytes = made->sizeInBytes() / 1024 + 1;
        if (!m_panels.insert(look, made, kilobytes)) {
            // Too large to keep (the cache has let the picture go): drawn as Fusion draws it.
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        panel = m_panels.object(look);
    }
    painter->drawImage(option->rect.topLeft(), *panel);
}

}  // namespace screens
