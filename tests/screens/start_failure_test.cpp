// What a failed start says: one line naming the failure from what Qt and the libraries under it said;
// and what a start that works lets through.

// Own
#include "screens/start_failure.h"

// Qt
#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTemporaryFile>

#include <gtest/gtest.h>

// Standard
#include <optional>
#include <unistd.h>

namespace {

using screens::PlatformStartReport;

const QString kRefusedByServer = QStringLiteral("could not connect to display :77");
const QString kNotLoaded = QStringLiteral("Could not load the Qt platform plugin \"xcb\" in \"\" even though it was found.");
const QString kFatal = QStringLiteral(
    "This application failed to start because no Qt platform plugin could be initialized. Reinstalling the "
    "application may fix this problem.\n\nAvailable platform plugins are: minimal, offscreen, xcb, wayland.\n");
const QString kFatalWithoutPlugins = QStringLiteral(
    "This application failed to start because no Qt platform plugin could be initialized. Reinstalling the "
    "application may fix this problem.\n");

struct Case {
    const char *name;
    PlatformStartReport report;
    QString says;                 // what the line holds after "NAME: cannot open a window: "
    QStringList leavesOut = {};   // what it must not hold
};

// Every line is one line of printable text, begins the same way, and never points to xvfb-run: a
// display was named, so the advice to run without one would mislead.
TEST(StartFailure, EachFailureIsNamedInOneLineInQtsWords)
{
    const QString begins = QCoreApplication::applicationName() + QStringLiteral(": cannot open a window: ");
    const std::vector<Case> cases{
        {"refused by the server, its reason after Qt's",
         {.messages = {kRefusedByServer, kNotLoaded},
          .fatal = kFatal,
          .rawOutput = "Authorization required, but no authorization protocol specified\n\n"},
         "could not connect to display :77 (Authorization required, but no authorization protocol specified)"},
        {"nothing listening", {.messages = {QStringLiteral("could not connect to display :4095"), kNotLoaded}, .fatal = kFatal},
         "could not connect to display :4095", {QStringLiteral("("), QStringLiteral("even though")}},
        {"the plugin's complaint is its last word before the loader's, not an earlier warning",
         {.messages = {QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR not set, defaulting to '/tmp/runtime-root'"),
                       QStringLiteral("could not connect to display :4095"), kNotLoaded},
          .fatal = kFatal},
         "could not connect to display :4095"},
        {"an unknown platform, with the platforms there are",
         {.messages = {QStringLiteral("Could not find the Qt platform plugin \"nosuch\" in \"\"")}, .fatal = kFatal},
         "could not find the Qt platform plugin \"nosuch\"; available platform plugins are: minimal, offscreen, xcb, "
         "wayland",
         {QStringLiteral("in \"\""), QStringLiteral("Reinstalling")}},
        {"no platform plugins at all",
         {.messages = {QStringLiteral("Could not find the Qt platform plugin \"xcb\" in \"\"")}, .fatal = kFatalWithoutPlugins},
         "could not find the Qt platform plugin \"xcb\"", {QStringLiteral("available")}},
        {"a folder named for the plugins is kept",
         {.messages = {QStringLiteral("Could not find the Qt platform plugin \"xcb\" in \"/opt/plugins\"")},
          .fatal = kFatalWithoutPlugins},
         "could not find the Qt platform plugin \"xcb\" in \"/opt/plugins\""},
        {"a plugin that will not load, with why",
         {.messages = {kNotLoaded},
          .fatal = kFatal,
          .pluginLoadError = "/p/libqxcb.so: libxcb-cursor.so.0: cannot open shared object file"},
         "could not load the Qt platform plugin \"xcb\": /p/libqxcb.so: libxcb-cursor.so.0: cannot open shared object file",
         {QStringLiteral("even though"), QStringLiteral("available")}},
        {"Wayland's own complaint, without a category",
         {.messages = {QStringLiteral("Failed to create wl_display (No such file or directory)"),
                       QStringLiteral("Could not load the Qt platform plugin \"wayland\" in \"\" even though it was found.")},
          .fatal = kFatal},
         "failed to create wl_display (No such file or directory)"},
        {"only the server's words", {.fatal = kFatal, .rawOutput = "Maximum number of clients reached\n"},
         "maximum number of clients reached"},
        {"only Qt's last word", {.fatal = kFatal},
         "this application failed to start because no Qt platform plugin could be initialized",
         {QStringLiteral("Reinstalling")}},
        {"nothing said at all", {}, "the window system did not start"},
    };
    for (const Case &c : cases) {
        const QString line = screens::describeStartFailure(c.report);
        EXPECT_EQ(line, begins + c.says) << c.name;
        for (const QString &absent : c.leavesOut)
            EXPECT_FALSE(line.contains(absent)) << c.name << ": " << line.toStdString();
        EXPECT_FALSE(line.contains(QLatin1String("xvfb-run"))) << c.name;
    }
}

// The server's reason is the server's to choose: whatever it sends, one line of printable text comes out,
// of a bounded length, and the terminal is given nothing to act on.
TEST(StartFailure, TheServersReasonCannotBreakTheLineOrReachTheTerminal)
{
    const QByteArray hostile = "\x1b]0;title\x07\x1b[2J" + QByteArray(1000, 'x') + "\r\nsecond line\n";
    const QString line = screens::describeStartFailure(
        {.messages = {kRefusedByServer, kNotLoaded}, .fatal = kFatal, .rawOutput = hostile});
    for (const QChar c : line)
        EXPECT_TRUE(c.isPrint()) << "character " << static_cast<int>(c.unicode()) << " in " << line.toStdString();
    EXPECT_FALSE(line.contains(QLatin1String("second line")));
    EXPECT_LT(line.size(), 300);
    EXPECT_TRUE(line.contains(kRefusedByServer + QStringLiteral(" (")));
}

// The plugin loader is asked why a plugin would not load only when the plugin itself said nothing: a
// plugin that complained was loaded, and its complaint is the news.
TEST(StartFailure, OnlyAPluginThatLoadedNotAtAllIsLookedUp)
{
    EXPECT_EQ(screens::unloadedPlatformPlugin({.messages = {kNotLoaded}, .fatal = kFatal}), QStringLiteral("xcb"));
    EXPECT_EQ(screens::unloadedPlatformPlugin({.messages = {kRefusedByServer, kNotLoaded}, .fatal = kFatal}), QString());
    EXPECT_EQ(screens::unloadedPlatformPlugin(
                  {.messages = {QStringLiteral("Could not find the Qt platform plugin \"nosuch\" in \"\"")},
                   .fatal = kFatal}),
              QString());
    EXPECT_EQ(screens::unloadedPlatformPlugin({}), QString());
}

Q_LOGGING_CATEGORY(lcPlatform, "qt.qpa.tarvelo_test")

QStringList g_printed;
void record(QtMsgType, const QMessageLogContext &, const QString &message) { g_printed << message; }

// While the platform starts, its own words are kept for naming a failure and never reach the player;
// everything else, printed by Qt or written straight to the error output, comes out once the start
// has worked. After it, the platform speaks as any other part of Qt does.
TEST(StartFailure, AStartThatWorksPassesOnAllButThePlatformsOwnWords)
{
    QTemporaryFile errors;
    ASSERT_TRUE(errors.open());
    std::fflush(stderr);
    const int realErrors = ::dup(STDERR_FILENO);
    ASSERT_GE(::dup2(errors.handle(), STDERR_FILENO), 0);
    const QtMessageHandler previous = qInstallMessageHandler(record);

    screens::StartFailureGuard guard;
    guard.begin();
    qCWarning(lcPlatform, "the platform's own complaint");
    qWarning("a word of the game's");
    const char raw[] = "written straight to the error output\n";
    EXPECT_EQ(::write(STDERR_FILENO, raw, sizeof raw - 1), static_cast<ssize_t>(sizeof raw - 1));
    const QByteArray heldBack = errors.readAll();
    const std::optional<QString> refusal = guard.end();
    qCWarning(lcPlatform, "the platform once it runs");

    qInstallMessageHandler(previous);
    std::fflush(stderr);
    ::dup2(realErrors, STDERR_FILENO);
    ::close(realErrors);
    EXPECT_EQ(refusal, std::nullopt);
    EXPECT_EQ(g_printed, (QStringList{"a word of the game's", "the platform once it runs"}));
    EXPECT_TRUE(heldBack.isEmpty()) << "the start had not worked yet";
    errors.seek(0);
    EXPECT_EQ(errors.readAll(), QByteArray(raw));
}

}  // namespace
