// The yardstick for the game's start-up and memory: the smallest Qt Widgets program of the same kind,
// one maximized light-yellow window with one line of text, that quits on any key.

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
    p.setColor(QPalette::Window, QColor(255, 255, 192));
    window.setPalette(p);
    window.setAutoFillBackground(true);
    QLabel label(QStringLiteral("Press any key to quit"), &window);
    label.move(152, 360);
    // Maximized even with no window manager to do it, as the game's screens are.
    window.setGeometry(window.screen()->availableGeometry());
    window.showMaximized();
    window.activateWindow();
    return QApplication::exec();
}
