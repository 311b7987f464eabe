#include "app/Log.h"

#include "TempDir.h"
#include "utils/FatalError.h"

#include <gtest/gtest.h>

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

TEST(Log, DropsLinesWhenTheFileCannotBeOpened)
{
    TempDir dir;
    EXPECT_FALSE(Log::open("no-such-folder/game.log"));
    Log::write("lost");
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
