// Own
#include "accessibility.h"
#include "screen_window.h"
#include "widgets.h"

// Qt
#include <QAbstractButton>
#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCheckBox>
#include <QTimer>

// Standard
#include <algorithm>
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

// A button or an option's box. Every action that presses or toggles it is the player's click, so
// that the game judges it: a tick that bypassed the click would leave a box ticked and unjudged.
class ButtonAccessible : public QAccessibleWidget {
public:
    explicit ButtonAccessible(QAbstractButton *button)
        : QAccessibleWidget(button, button->isCheckable() ? QAccessible::CheckBox : QAccessible::Button)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        QString s = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && s.isEmpty())
            s = button()->text().remove(QLatin1Char('&'));
        return s;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (button()->isCheckable()) {
            s.checkable = true;
            s.checked = button()->isChecked();
        }
        s.pressed = button()->isDown();
        return s;
    }

    // A control that cannot be used offers nothing to press, as Qt's own buttons do.
    QStringList actionNames() const override
    {
        QStringList names;
        if (button()->isEnabled() && button()->isVisible()) {
            names << pressAction();
            if (button()->isCheckable())
                names << toggleAction();
        }
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &action) override
    {
        if (action != pressAction() && action != toggleAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        if (button()->isEnabled() && button()->isVisible())
            button()->click();
    }

private:
    QAbstractButton *button() const { return static_cast<QAbstractButton *>(widget()); }
};

class SpokenLineAccessible : public QAccessibleObject {
public:
    explicit SpokenLineAccessible(SpokenLine *line) : QAccessibleObject(line) {}

    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(line()->parent()); }
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text t) const override { return t == QAccessible::Name ? line()->text() : QString(); }
    QAccessible::Role role() const override
    {
        return line()->kind() == SpokenLine::Kind::Announcement ? QAccessible::Notification : QAccessible::StaticText;
    }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.invisible = line()->text().isEmpty();
        return s;
    }
    // The bottom line of the screen: read after everything the screen shows.
    QRect rect() const override
    {
        const QAccessibleInterface *screen = parent();
        if (screen == nullptr)
            return {};
        const QRect whole = screen->rect();
        return {whole.left(), whole.bottom(), whole.width(), 1};
    }

private:
    SpokenLine *line() const { return static_cast<SpokenLine *>(object()); }
};

// Top to bottom in rows, left to right within a row. A row is what starts above the bottom of its
// top-most control: an option's box stands a little lower than its caption, yet both are one line.
void inReadingOrder(std::vector<QAccessibleInterface *> &controls)
{
    auto geometry = [](QAccessibleInterface *c) { return static_cast<QWidget *>(c->object())->geometry(); };
    std::stable_sort(controls.begin(), controls.end(),
                     [&](QAccessibleInterface *a, QAccessibleInterface *b) { return geometry(a).top() < geometry(b).top(); });
    for (auto row = controls.begin(); row != controls.end();) {
        const int bottom = geometry(*row).bottom();
        const auto end = std::find_if(row, controls.end(), [&](QAccessibleInterface *c) { return geometry(c).top() > bottom; });
        std::stable_sort(row, end,
                         [&](QAccessibleInterface *a, QAccessibleInterface *b) { return geometry(a).left() < geometry(b).left(); });
        row = end;
    }
}

// A screen lists its controls to assistive tools in reading order, top to bottom and left to
// right, leaving the decorative pictures out and its spoken lines last. A screen spoken as a
// dialog has its texts read out whenever it becomes the active window.
class ScreenAccessible : public QAccessibleWidget {
public:
    explicit ScreenAccessible(ScreenWindow *window)
        : QAccessibleWidget(window, window->isSpokenAsDialog() ? QAccessible::Dialog : QAccessible::Window)
    {
    }

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
        inReadingOrder(children);
        for (SpokenLine *line : widget()->findChildren<SpokenLine *>(Qt::FindDirectChildrenOnly))
            if (QAccessibleInterface *c = QAccessible::queryAccessibleInterface(line))
                children.push_back(c);
        return children;
    }
};

QAccessibleInterface *screensFactory(const QString &, QObject *object)
{
    if (auto *picture = qobject_cast<PictureBox *>(object))
        return new PictureAccessible(picture);
    if (auto *window = qobject_cast<ScreenWindow *>(object))
        return new ScreenAccessible(window);
    if (auto *line = qobject_cast<SpokenLine *>(object))
        return new SpokenLineAccessible(line);
    if (auto *button = qobject_cast<QAbstractButton *>(object); button != nullptr && button->isWindow() == false &&
                                                                 qobject_cast<ScreenWindow *>(button->window()))
        return new ButtonAccessible(button);
    return nullptr;
}

// Qt tells a screen reader that a window came up only while it listens; a window that came up
// before (the title, when the screen reader or the game's own bridge to it starts late) would
// stay unspoken.
class LateListener : public QAccessible::ActivationObserver {
public:
    void accessibilityActiveChanged(bool active) override
    {
        if (!active)
            return;
        // Qt's bridge sends events only once it has finished starting, right after this call.
        QTimer::singleShot(0, qApp, [] {
            if (auto *screen = qobject_cast<ScreenWindow *>(QApplication::activeWindow()); screen && screen->isSpokenAsDialog())
                readAloud(*screen);
        });
    }
};

}  // namespace

void readAloud(ScreenWindow &screen)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&screen);
    QStringList said{iface->text(QAccessible::Name)};
    for (int i = 0; i < iface->childCount(); ++i) {
        const QAccessibleInterface *c = iface->child(i);
        const QString text = c->text(QAccessible::Name).simplified();
        if (c->role() == QAccessible::StaticText && !text.isEmpty() && !said.contains(text))
            said << text;
    }
    auto *line = screen.findChild<SpokenLine *>(QStringLiteral("readAloud"), Qt::FindDirectChildrenOnly);
    if (line == nullptr) {
        line = new SpokenLine(SpokenLine::Kind::Announcement, &screen);
        line->setObjectName(QStringLiteral("readAloud"));
    }
    line->announce(said.join(QLatin1Char(' ')));
}

void setSpoken(QWidget &control, const QString &name, const QString &description)
{
    if (control.accessibleName() != name)
        control.setAccessibleName(name);
    if (control.accessibleDescription() != description)
        control.setAccessibleDescription(description);
}

SpokenLine::SpokenLine(Kind kind, QWidget *screen) : QObject(screen), m_kind(kind) {}

void SpokenLine::announce(const QString &text)
{
    if (text.isEmpty())
        return;
    if (text != m_text) {
        m_text = text;
        // A screen reader keeps the names it has read: it learns the new one from this.
        QAccessibleEvent renamed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&renamed);
    }
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent announcement(this, text);
    QAccessible::updateAccessibility(&announcement);
#else
    // This Qt has no announcements: Orca speaks a notification when it is shown, and showing it
    // again says its text again.
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
#endif
    emit announced(text);
}

void installAccessibility()
{
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(screensFactory);
        static LateListener listener;
        QAccessible::installActivationObserver(&listener);
    }
    installed = true;
}

}  // namespace screens
