// What assistive tools are told of the screens beyond what Qt tells by itself: the screens in
// reading order, the pictures by name and nothing of the outlined boxes, which only decorate;
// buttons and boxes whose actions answer exactly as a click; and lines that only a screen reader
// says, because nothing on the screen shows them.
#pragma once

// Qt
#include <QObject>
#include <QString>

class QWidget;

namespace screens {

// Once per run, before the first screen is built.
void installAccessibility();

class ScreenWindow;
// Says a screen's texts aloud in reading order, as a screen reader reads a dialog that comes up.
// Done for the active screen when assistive tools start listening only after it came up: the
// screen reader was never told that it did.
void readAloud(ScreenWindow &screen);

// Writes a control's accessible name and description, each only when it changes: every write is an
// event to a listening screen reader, and a render runs on every timer tick.
void setSpoken(QWidget &control, const QString &name, const QString &description = {});

// A line of a screen that is spoken and never drawn. A Hint is read with the screen's other texts;
// an Announcement is spoken each time it is made, as a notification that has just appeared.
class SpokenLine : public QObject {
    Q_OBJECT
public:
    enum class Kind { Hint, Announcement };
    SpokenLine(Kind kind, QWidget *screen);

    Kind kind() const { return m_kind; }
    QString text() const { return m_text; }
    void setText(const QString &text) { m_text = text; }
    // Says `text` now. A screen makes it after its last focus move: the focus's own speech would
    // cut off an announcement made before it.
    void announce(const QString &text);

signals:
    void announced(const QString &text);   // after a screen reader was told

private:
    Kind m_kind;
    QString m_text;
};

}  // namespace screens
