// The yardstick: the smallest Qt Widgets program that changes what the game changes, each step the
// plain Qt way. A first maximized window with one line of text; on a key, a second maximized window,
// created hidden at start, comes up and the first hides. On it, as on the question screen, a button
// fills four labels; a tick on one of four check boxes disables them and the buttons, colours its
// label, writes a message and shows a picture; a second button puts all of it back and writes a new
// question; a third brings up a third maximized window over it, created at that moment. Any key
// there quits. Each step enables, disables and empties what the same step of the game does.
//
// It links nothing of the game: the bench hands it the colours of the three windows and the places
// of the controls, as the game's layout tables give them, on its command line:
//   tarvelo_reference COLOUR COLOUR COLOUR NAME=X,Y,W,H ...
// with the names reveal, lifeline, next, quit, question, number, message, picture, box1..box4, option1..option4.

// Qt
#include <QApplication>
#include <QCheckBox>
#include <QColor>
#include <QKeyEvent>
#include <QLabel>
#include <QMap>
#include <QPixmap>
#include <QPushButton>
#include <QRect>
#include <QScreen>
#include <QStringList>
#include <QWidget>

// Standard
#include <array>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

class Window : public QWidget {
public:
    explicit Window(QColor background)
    {
        QPalette p = palette();
        p.setColor(QPalette::Window, background);
        p.setColor(QPalette::WindowText, Qt::white);
        setPalette(p);
        setAutoFillBackground(true);
        setFocusPolicy(Qt::StrongFocus);
    }
    std::function<void()> onKey;

    void showMaximizedHere()
    {
        // Maximized even with no window manager to do it, as the game's screens are.
        setGeometry(screen()->availableGeometry());
        showMaximized();
        activateWindow();
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (!event->text().isEmpty() && onKey)
            onKey();
    }
};

QRect rectOf(const QString &text)
{
    const QStringList v = text.split(QLatin1Char(','));
    return v.size() == 4 ? QRect(v[0].toInt(), v[1].toInt(), v[2].toInt(), v[3].toInt()) : QRect();
}

}  // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: tarvelo_reference COLOUR COLOUR COLOUR NAME=X,Y,W,H ...\n");
        return 2;
    }
    QMap<QString, QRect> place;
    for (const QString &arg : args.mid(4))
        place.insert(arg.section(QLatin1Char('='), 0, 0), rectOf(arg.section(QLatin1Char('='), 1)));
    const QColor farewellColour(args[3]);

    Window first{QColor(args[1])};
    QLabel line(QStringLiteral("Press any key"), &first);

    Window second{QColor(args[2])};
    auto *reveal = new QPushButton(QStringLiteral("Show"), &second);
    reveal->setGeometry(place.value(QStringLiteral("reveal")));
    auto *lifeline = new QPushButton(QStringLiteral("50-50"), &second);
    lifeline->setGeometry(place.value(QStringLiteral("lifeline")));
    auto *next = new QPushButton(QStringLiteral("Next"), &second);
    next->setGeometry(place.value(QStringLiteral("next")));
    auto *quit = new QPushButton(QStringLiteral("Quit"), &second);
    quit->setGeometry(place.value(QStringLiteral("quit")));
    const auto label = [&](const char *name) {
        auto *l = new QLabel(&second);
        l->setGeometry(place.value(QLatin1String(name)));
        l->setWordWrap(true);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return l;
    };
    QLabel *question = label("question");
    question->setText(QStringLiteral("A question of the first kind ....."));
    QLabel *number = label("number");
    number->setText(QStringLiteral("1"));
    QLabel *message = label("message");
    QLabel *picture = label("picture");
    QPixmap face(picture->size());
    face.fill(Qt::yellow);
    picture->setPixmap(face);
    picture->hide();
    std::array<QLabel *, 4> options{};
    std::array<QCheckBox *, 4> boxes{};
    for (int i = 0; i < 4; ++i) {
        options[i] = new QLabel(&second);
        options[i]->setGeometry(place.value(QStringLiteral("option%1").arg(i + 1)));
        options[i]->setAutoFillBackground(true);
        boxes[i] = new QCheckBox(&second);
        boxes[i]->setGeometry(place.value(QStringLiteral("box%1").arg(i + 1)));
    }

    std::unique_ptr<Window> third;
    first.onKey = [&] {
        second.showMaximizedHere();
        first.hide();
    };
    int asked = 1;
    const auto colour = [](QWidget *w, QColor back, QColor text) {
        QPalette p = w->palette();
        p.setColor(QPalette::Window, back);
        p.setColor(QPalette::WindowText, text);
        w->setPalette(p);
    };
    const auto buttons = [&](bool onReveal, bool onLifeline, bool onNext, bool onQuit) {
        reveal->setEnabled(onReveal);
        lifeline->setEnabled(onLifeline);
        next->setEnabled(onNext);
        quit->setEnabled(onQuit);
    };
    buttons(true, false, false, false);
    message->setText(QStringLiteral("A reminder of how to answer"));
    QObject::connect(reveal, &QPushButton::clicked, [&] {
        for (int i = 0; i < 4; ++i)
            options[i]->setText(QStringLiteral("%1. An option of question %2").arg(i + 1).arg(asked));
        message->clear();
        buttons(false, true, false, true);
    });
    for (int i = 0; i < 4; ++i)
        QObject::connect(boxes[i], &QCheckBox::toggled, [&, i](bool on) {
            if (!on)
                return;
            for (QCheckBox *box : boxes)
                box->setEnabled(false);
            colour(options[i], Qt::green, Qt::blue);
            QFont large = message->font();
            large.setPointSize(12);
            message->setFont(large);
            colour(message, second.palette().color(QPalette::Window), Qt::white);
            message->setText(QStringLiteral(" Well done, on to the next one "));
            picture->show();
            buttons(false, false, true, true);
        });
    QObject::connect(next, &QPushButton::clicked, [&] {
        ++asked;
        for (int i = 0; i < 4; ++i) {
            options[i]->clear();
            colour(options[i], second.palette().color(QPalette::Window), Qt::white);
            boxes[i]->setChecked(false);
            boxes[i]->setEnabled(true);
        }
        message->clear();
        picture->hide();
        question->setText(QStringLiteral("A question of the kind number %1 .....").arg(asked));
        number->setText(QString::number(asked));
        buttons(true, false, false, false);
    });
    QObject::connect(quit, &QPushButton::clicked, [&] {
        third = std::make_unique<Window>(farewellColour);
        third->onKey = [] { QApplication::quit(); };
        third->showMaximizedHere();
    });

    first.showMaximizedHere();
    return QApplication::exec();
}
