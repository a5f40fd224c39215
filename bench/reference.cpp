// The yardstick for the game's start-up and memory: the smallest Qt Widgets program of the same kind,
// one maximized window in the title screen's light yellow with one line of text, that quits on any key.
// It takes the colour from the title's table and links nothing of the game.

// Own
#include "screens/title_layout.h"

// Qt
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QWidget>

namespace {

class Window : public QWidget {
protected:
    void keyPressEvent(QKeyEvent *) override { QApplication::quit(); }
};

}  // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Window window;
    QPalette p = window.palette();
    constexpr quiz::Colour kBackground = screens::title::kBackground;
    p.setColor(QPalette::Window, QColor(kBackground.red(), kBackground.green(), kBackground.blue()));
    window.setPalette(p);
    window.setAutoFillBackground(true);
    QLabel label(QStringLiteral("Press any key to quit"), &window);
    // Maximized even with no window manager to do it, as the game's screens are.
    window.setGeometry(window.screen()->availableGeometry());
    window.showMaximized();
    window.activateWindow();
    return QApplication::exec();
}
