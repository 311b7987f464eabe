// SPDX-License-Identifier: GPL-3.0-or-later
#include "utils/Log.h"

#include "TempDir.h"
#include "utils/FatalError.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

TEST(Log, EmptiesTheFileAndAppendsLines)
{
    TempDir dir;
    TempDir::writeFile("game.log", "previous run\n");
    ASSERT_TRUE(Log::open("game.log"));
    EXPECT_EQ(TempDir::readFile("game.log"), "");
    Log::write("Vendor: %s", "Mesa");
    Log::write("%d dashes", 51);
    Log::close();
    EXPECT_EQ(TempDir::readFile("game.log"), "Vendor: Mesa\n51 dashes\nClosing Log\n");
}

TEST(Log, KeepsThePreviousSessionsLogForAfterACrash)
{
    TempDir dir;
    TempDir::writeFile("game.log", "the crashed session\n");
    ASSERT_TRUE(Log::open("game.log"));
    Log::write("this session");
    EXPECT_EQ(TempDir::readFile("game.log.old"), "the crashed session\n");
    ASSERT_TRUE(Log::open("game.log"));
    EXPECT_EQ(TempDir::readFile("game.log.old"), "this session\n");
    EXPECT_EQ(TempDir::readFile("game.log"), "");
    Log::open("");
}

TEST(Log, DropsLinesWhenTheFileCannotBeOpened)
{
    TempDir dir;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Log::open("no-such-folder/game.log"));
    Log::write("lost");
    // A FIFO nobody reads fails at once instead of stopping the game.
    ASSERT_EQ(::mkfifo("game.log", 0600), 0);
    EXPECT_FALSE(Log::open("game.log"));
    Log::write("lost");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "the opener reports it";
    Log::open("");
}

TEST(Log, AFullDiskIsSaidOnceOnStandardError)
{
    TempDir dir;
    std::filesystem::create_symlink("/dev/full", "game.log");
    ASSERT_TRUE(Log::open("game.log"));
    testing::internal::CaptureStderr();
    Log::write("first");
    Log::write("second");
    const std::string said = testing::internal::GetCapturedStderr();
    Log::open("");
    EXPECT_EQ(said, "vellomar: cannot write the log game.log: No space left on device\n");
    EXPECT_TRUE(std::filesystem::is_symlink("game.log")) << "only a regular log is kept aside";
}

TEST(FatalError, NamesConditionModuleAndFileEverywhere)
{
    TempDir dir;
    EXPECT_EQ(FatalError::describe("m_valid", "include/image/Image", "mui/x.tga"),
              "Failed condition \"m_valid\" in include/image/Image (file: mui/x.tga)");
    EXPECT_EXIT(
        {
            Log::open("game.log");
            FatalError::setMessageBox([](const std::string&, const std::string& text) {
                TempDir::writeFile("box.txt", text);
            });
            FatalError::raise("file != 0", "utils/FilePack", "a.txt");
        },
        testing::ExitedWithCode(1), "file != 0");
    EXPECT_NE(TempDir::readFile("game.log").find("utils/FilePack (file: a.txt)"),
              std::string::npos);
    EXPECT_NE(TempDir::readFile("box.txt").find("file != 0"), std::string::npos);
}
