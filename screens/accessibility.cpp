// Own
#include "accessibility.h"
#include "screen_window.h"
#include "widgets.h"

// Qt
#include <QAccessibleWidget>

// Standard
#include <vector>

namespace screens {
namespace {

class PictureAccessible : public QAccessibleWidget {
public:
    explicit PictureAccessible(PictureBox *picture) : QAccessibleWidget(picture, QAccessible::Graphic) {}

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (static_cast<PictureBox *>(widget())->isDecorative())
            s.invisible = true;
        return s;
    }
};

// A screen lists its controls to assistive tools, leaving the decorative pictures out.
class ScreenAccessible : public QAccessibleWidget {
public:
    explicit ScreenAccessible(ScreenWindow *window) : QAccessibleWidget(window, QAccessible::Window) {}

    int childCount() const override { return static_cast<int>(shownChildren().size()); }

    QAccessibleInterface *child(int index) const override
    {
        const std::vector<QAccessibleInterface *> children = shownChildren();
        return index >= 0 && index < static_cast<int>(children.size()) ? children[static_cast<std::size_t>(index)]
                                                                         : nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        const std::vector<QAccessibleInterface *> children = shownChildren();
        for (std::size_t i = 0; i < children.size(); ++i)
            if (children[i] == child)
                return static_cast<int>(i);
        return -1;
    }

private:
    std::vector<QAccessibleInterface *> shownChildren() const
    {
        std::vector<QAccessibleInterface *> children;
        const int all = QAccessibleWidget::childCount();
        for (int i = 0; i < all; ++i) {
            QAccessibleInterface *c = QAccessibleWidget::child(i);
            const auto *picture = c != nullptr ? qobject_cast<PictureBox *>(c->object()) : nullptr;
            if (c != nullptr && (picture == nullptr || !picture->isDecorative()))
                children.push_back(c);
        }
        return children;
    }
};

QAccessibleInterface *screensFactory(const QString &, QObject *object)
{
    if (auto *picture = qobject_cast<PictureBox *>(object))
        return new PictureAccessible(picture);
    if (auto *window = qobject_cast<ScreenWindow *>(object))
        return new ScreenAccessible(window);
    return nullptr;
}

}  // namespace

void installAccessibility()
{
    static bool installed = false;
    if (!installed)
        QAccessible::installFactory(screensFactory);
    installed = true;
}

}  // namespace screens
