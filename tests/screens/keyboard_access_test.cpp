// Playing without a mouse, and what assistive tools are told.

// Own
#include "screen_fixture.h"
#include "screens/startup.h"
#include "quiz/question_bank.h"

// Qt
#include <QAccessible>
#include <QFile>
#include <QTemporaryDir>

// Standard
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace screens_test {
namespace {

class Keyboard : public ShellFixture {
protected:
    // Keys go where the focus is, as they do for a player.
    QWidget &focused() { return *question().focusWidget(); }
};
using Accessibility = ShellFixture;

TEST_F(Keyboard, NumberKeysTickTheirOptionAsAClickWould)
{
    enterQuiz(14);   // option 3 is right
    type(question(), '3');
    EXPECT_FALSE(box(3).isChecked()) << "before the options show, the guard undoes the tick";
    EXPECT_TRUE(button("cmdOptions").isEnabled());
    ASSERT_EQ(&focused(), &button("cmdOptions"));
    press(focused(), Qt::Key_Space);
    ASSERT_FALSE(label("lblAnsthree").text().isEmpty());
    type(question(), '3');
    EXPECT_TRUE(box(3).isChecked());
    EXPECT_TRUE(button("cmdNext").isEnabled());
    type(question(), '1');
    EXPECT_FALSE(box(1).isChecked()) << "a judged question takes no second answer";
}

TEST_F(Keyboard, NumberKeysSkipOptionsTheLifelineRemoved)
{
    enterQuiz(3);   // option 1 is right; the lifeline removes 2 and 3
    click(button("cmdOptions"));
    click(button("cmdLife"));
    type(question(), '2');
    EXPECT_FALSE(box(2).isChecked());
    EXPECT_FALSE(button("cmdNext").isEnabled());
    for (char other : {'5', '0', 'a'})
        type(question(), other);
    EXPECT_FALSE(button("cmdNext").isEnabled());
    type(question(), '4');
    EXPECT_TRUE(box(4).isChecked());
    EXPECT_EQ(label("lblTest").text(), QStringLiteral("Afsos!!  yeh galat jawab hamare sath bhag lene ka shukriya....."));
}

TEST_F(Keyboard, AWholeGameNeedsNoMouse)
{
    enterQuiz(0);
    press(focused(), Qt::Key_Space);   // reveal
    type(focused(), '1');
    m_random.pick(13, quiz::kRandomEntries);
    press(focused(), Qt::Key_Return);  // next
    EXPECT_EQ(label("lblQnum").text(), QStringLiteral("2"));
    ASSERT_EQ(&focused(), &button("cmdOptions")) << "focus is back on the first control";
    press(focused(), Qt::Key_Space);
    press(focused(), Qt::Key_Escape);  // quit
    EXPECT_TRUE(question().endTimer().isActive());
}

QAccessibleInterface *accessible(QObject &o) { return QAccessible::queryAccessibleInterface(&o); }

TEST_F(Accessibility, BoxesSpeakTheOptionTheyAnswer)
{
    enterQuiz(23);
    EXPECT_EQ(accessible(box(3))->text(QAccessible::Name), QStringLiteral("Option 3"));
    EXPECT_FALSE(accessible(box(3))->text(QAccessible::Description).isEmpty());
    click(button("cmdOptions"));
    EXPECT_EQ(accessible(box(3))->text(QAccessible::Name), QStringLiteral("Option 3: 3. ="));
    EXPECT_EQ(accessible(box(4))->text(QAccessible::Name), QStringLiteral("Option 4: 4. &"));
    click(button("cmdLife"));
    EXPECT_EQ(accessible(box(1))->text(QAccessible::Name), QStringLiteral("Option 1")) << "blanked by the lifeline";
    EXPECT_TRUE(accessible(box(1))->state().disabled);
}

TEST_F(Accessibility, LabelsAndPicturesAreNamed)
{
    enterQuiz(8);
    EXPECT_EQ(accessible(label("lblQnum"))->text(QAccessible::Name), QStringLiteral("Question 1"));
    EXPECT_EQ(accessible(label("lblQuestion"))->text(QAccessible::Name), QStringLiteral(" Find an ODD item in given group?"));
    QAccessibleInterface *happy = accessible(child<QWidget>(question(), "Image3"));
    EXPECT_EQ(happy->text(QAccessible::Name), QStringLiteral("happy face"));
    EXPECT_EQ(happy->role(), QAccessible::Graphic);
    EXPECT_EQ(accessible(child<QWidget>(question(), "Image4"))->text(QAccessible::Name), QStringLiteral("sad face"));
}

TEST_F(Accessibility, OutlinedBoxesAreHiddenFromAssistiveTools)
{
    QAccessibleInterface *screen = accessible(question());
    ASSERT_NE(screen, nullptr);
    std::vector<QString> names;
    for (int i = 0; i < screen->childCount(); ++i) {
        QAccessibleInterface *c = screen->child(i);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(screen->indexOfChild(c), i);
        names.push_back(c->object()->objectName());
    }
    EXPECT_EQ(std::count(names.begin(), names.end(), QStringLiteral("Image1")), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), QStringLiteral("Image2")), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), QStringLiteral("Image3")), 1);
    EXPECT_EQ(std::count(names.begin(), names.end(), QStringLiteral("cmdOptions")), 1);
    EXPECT_TRUE(accessible(child<QWidget>(question(), "Image1"))->state().invisible);
}

TEST(CommandLine, KnownOptionsAndRefusals)
{
    using Action = screens::CommandLine::Action;
    EXPECT_EQ(screens::parseCommandLine({}).action, Action::Play);
    EXPECT_EQ(screens::parseCommandLine({"--help"}).action, Action::ShowHelp);
    EXPECT_EQ(screens::parseCommandLine({"-h"}).action, Action::ShowHelp);
    EXPECT_EQ(screens::parseCommandLine({"--version"}).action, Action::ShowVersion);
    for (const QStringList &bad : {QStringList{"--fullscreen"}, QStringList{"-z"}, QStringList{"questions.txt"},
                                   QStringList{"--help", "extra"}}) {
        const screens::CommandLine refused = screens::parseCommandLine(bad);
        EXPECT_EQ(refused.action, Action::Refuse) << bad.join(' ').toStdString();
        EXPECT_FALSE(refused.output.contains(QLatin1Char('\n'))) << "one line";
        EXPECT_TRUE(refused.output.contains(QLatin1String("Usage:")));
    }
    EXPECT_TRUE(screens::parseCommandLine({"--help"}).output.contains(QLatin1String("--version")));
}

// A screen reader reaches the game only over the session bus. A login's bus is found by its socket
// at the standard place; a stale file there, or no folder at all, must not stand for one.
TEST(SessionBus, TheLoginsBusIsFoundAtItsStandardPlaceAndNoneIsInventedElsewhere)
{
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const QByteArray folder = QFile::encodeName(runtime.path());
    EXPECT_EQ(screens::sessionBusAddress("unix:path=/elsewhere", folder), "unix:path=/elsewhere");
    EXPECT_EQ(screens::sessionBusAddress({}, {}), "disabled:");
    EXPECT_EQ(screens::sessionBusAddress({}, folder), "disabled:");

    QFile stale(runtime.filePath(QStringLiteral("bus")));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    EXPECT_EQ(screens::sessionBusAddress({}, folder), "disabled:") << "a plain file is no bus";
    stale.remove();

    const int bus = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, (folder + "/bus").constData(), sizeof address.sun_path - 1);
    ASSERT_EQ(bind(bus, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    EXPECT_EQ(screens::sessionBusAddress({}, folder), "unix:path=" + folder + "/bus");
    close(bus);
}

// Starting twice, waiting twice or not at all, or never starting must each end without
// std::terminate: a joinable thread destroyed or overwritten ends the program.
TEST(FontConfigurationReader, StartsOnceAndEndsCleanlyWhateverTheOrder)
{
    {
        screens::FontConfigurationReader neverStarted;
        neverStarted.wait();
        EXPECT_FALSE(neverStarted.read());
    }
    {
        screens::FontConfigurationReader reader;
        reader.start();
        reader.start();
        reader.wait();
        EXPECT_TRUE(reader.read());
        reader.wait();
        reader.start();   // once read, it is not read again
        EXPECT_TRUE(reader.read());
    }
    {
        screens::FontConfigurationReader leftRunning;
        leftRunning.start();
    }
}

TEST(FontConfigurationReader, WaitsForThePlatformWhenALauncherTokenIsSet)
{
    const QByteArray startup = qgetenv("DESKTOP_STARTUP_ID");
    const QByteArray activation = qgetenv("XDG_ACTIVATION_TOKEN");
    qunsetenv("DESKTOP_STARTUP_ID");
    qunsetenv("XDG_ACTIVATION_TOKEN");
    EXPECT_FALSE(screens::platformStartChangesEnvironment());
    qputenv("DESKTOP_STARTUP_ID", "launcher_TIME0");
    EXPECT_TRUE(screens::platformStartChangesEnvironment());
    qunsetenv("DESKTOP_STARTUP_ID");
    qputenv("XDG_ACTIVATION_TOKEN", "token");
    EXPECT_TRUE(screens::platformStartChangesEnvironment());
    qunsetenv("XDG_ACTIVATION_TOKEN");
    if (!startup.isNull())
        qputenv("DESKTOP_STARTUP_ID", startup);
    if (!activation.isNull())
        qputenv("XDG_ACTIVATION_TOKEN", activation);
}

}  // namespace
}  // namespace screens_test
