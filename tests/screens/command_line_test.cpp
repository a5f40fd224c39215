// What the command line asks for: help, the version, a game, or a refusal in one line.

// Own
#include "screens/command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, KnownOptionsAndRefusals)
{
    using Action = screens::CommandLine::Action;
    EXPECT_EQ(screens::parseCommandLine({}).action, Action::Play);
    EXPECT_EQ(screens::parseCommandLine({"--help"}).action, Action::ShowHelp);
    EXPECT_EQ(screens::parseCommandLine({"-h"}).action, Action::ShowHelp);
    EXPECT_EQ(screens::parseCommandLine({"--version"}).action, Action::ShowVersion);
    EXPECT_EQ(screens::parseCommandLine({"-v"}).action, Action::ShowVersion);
    for (const QStringList &bad : {QStringList{"--fullscreen"}, QStringList{"-z"}, QStringList{"questions.txt"},
                                   QStringList{"--help", "extra"}}) {
        const screens::CommandLine refused = screens::parseCommandLine(bad);
        EXPECT_EQ(refused.action, Action::Refuse) << bad.join(' ').toStdString();
        EXPECT_FALSE(refused.output.contains(QLatin1Char('\n'))) << "one line";
        EXPECT_TRUE(refused.output.contains(QLatin1String("Usage:")));
    }
    EXPECT_TRUE(screens::parseCommandLine({"--help"}).output.contains(QLatin1String("--version")));
}

}  // namespace
