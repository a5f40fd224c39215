// The program's style: Fusion, keeping the button panels it draws.
#pragma once

// Qt
#include <QCache>
#include <QImage>
#include <QProxyStyle>
#include <QString>

namespace screens {

// Fusion draws a button's rounded, shaded panel into a picture and keeps it in Qt's pixmap cache,
// which this program turns off: the cache's flush timer would wake an idle screen. Without it, every
// button that repaints draws its panel again, and a click on the question screen repaints three
// buttons at once. This style keeps each panel in a cache of its own, which has no timer, and draws
// the kept picture exactly as Fusion draws its own.
class PanelKeepingStyle : public QProxyStyle {
public:
    PanelKeepingStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;

    qsizetype keptPanels() const { return m_panels.count(); }

private:
    mutable QCache<QString, QImage> m_panels;
};

}  // namespace screens
