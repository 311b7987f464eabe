// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CommandLine parse(std::vector<const char*> arguments)
{
    arguments.insert(arguments.begin(), "vellomar");
    return CommandLine::parse(int(arguments.size()), arguments.data());
}

} // namespace

TEST(CommandLine, HelpVersionAndFirstFrameTimeAreAnsweredWithSuccess)
{
    for (const char* option : {"--help", "-h"}) {
        const CommandLine command = parse({option});
        EXPECT_EQ(command.action(), CommandLine::Action::Help);
        EXPECT_EQ(command.exitCode(), 0);
        EXPECT_EQ(command.text().rfind("Usage: vellomar [OPTION]\n", 0), 0u);
        EXPECT_NE(command.text().find("--version"), std::string::npos);
    }
    for (const char* option : {"--version", "-V"}) {
        const CommandLine command = parse({option});
        EXPECT_EQ(command.action(), CommandLine::Action::Version);
        EXPECT_EQ(command.text(), "vellomar " VM_VERSION "\n");
    }
    // The first frame's time starts the game to measure it.
    const CommandLine command = parse({"--first-frame-time"});
    EXPECT_EQ(command.action(), CommandLine::Action::FirstFrameTime);
    EXPECT_EQ(command.exitCode(), 0);
    EXPECT_NE(CommandLine::helpText().find("--first-frame-time"), std::string::npos);
}

TEST(CommandLine, AnythingElseIsAUsageErrorWithStatusTwo)
{
    const struct {
        const char* argument;
        const char* message;
    } cases[] = {{"--fullscreen", "vellomar: unrecognized option '--fullscreen'\n"},
                 {"-x", "vellomar: invalid option -- 'x'\n"},
                 {"level5", "vellomar: unexpected argument 'level5'\n"}};
    for (const auto& c : cases) {
        const CommandLine command = parse({c.argument});
        EXPECT_EQ(command.action(), CommandLine::Action::UsageError);
        EXPECT_EQ(command.exitCode(), 2);
        EXPECT_EQ(command.text(),
                  std::string(c.message) + "Try 'vellomar --help' for more information.\n");
    }
}
