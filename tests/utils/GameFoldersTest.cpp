// SPDX-License-Identifier: GPL-3.0-or-later
#include "utils/GameFolders.h"
#include "utils/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace {

namespace fs = std::filesystem;

GameFolders::Environment environmentOf(std::map<std::string, std::string> values)
{
    return [values = std::move(values)](const char* name) {
        const auto it = values.find(name);
        return it == values.end() ? std::string() : it->second;
    };
}

// An install tree in the scratch folder: prefix/games/ and the pack in prefix/share/vellomar/.
std::string installTree()
{
    const std::string prefix = (fs::current_path() / "prefix").string();
    TempDir::writeFile(prefix + "/share/vellomar/data/data.pk", "LB");
    fs::create_directories(prefix + "/games");
    return prefix;
}

const auto kPlayer = environmentOf({{"HOME", "/home/player"},
                                    {"XDG_CONFIG_HOME", "/cfg"},
                                    {"XDG_DATA_HOME", "/saves"},
                                    {"XDG_STATE_HOME", "/state/"}});

} // namespace

TEST(GameFolders, TheWorkingDirectoryLayoutUntilTheProgramSetsItsFolders)
{
    const GameFolders folders;
    EXPECT_FALSE(folders.isInstalled());
    EXPECT_EQ(folders.dataFile("data/data.pk"), "data/data.pk");
    EXPECT_EQ(folders.configFile("data/dx.cfg"), "data/dx.cfg");
    EXPECT_EQ(folders.playerDataFile("data/saved.dat"), "data/saved.dat");
    EXPECT_EQ(folders.stateFile("game.log"), "game.log");
}

TEST(GameFolders, AProgramBesideItsPackKeepsEverythingInItsGameFolder)
{
    TempDir dir;
    const std::string game = (fs::current_path() / "build/game/").string();
    TempDir::writeFile(game + "data/data.pk", "LB");
    // An install tree next to it must not matter.
    installTree();
    const GameFolders folders = GameFolders::locate(game, kPlayer);
    EXPECT_FALSE(folders.isInstalled());
    EXPECT_EQ(folders.dataFile("wav/pop.wav"), game + "wav/pop.wav");
    EXPECT_EQ(folders.configFile("data/dx.cfg"), game + "data/dx.cfg");
    EXPECT_EQ(folders.playerDataFile("data/top7.tbl"), game + "data/top7.tbl");
    EXPECT_EQ(folders.stateFile("game.log"), game + "game.log");
}

TEST(GameFolders, AnInstalledProgramReadsTheShareFolderAndWritesToTheXdgFolders)
{
    TempDir dir;
    const std::string prefix = installTree();
    const GameFolders folders = GameFolders::locate(prefix + "/games/", kPlayer);
    ASSERT_TRUE(folders.isInstalled());
    EXPECT_EQ(folders.dataFolder(), prefix + "/share/vellomar/");
    EXPECT_EQ(folders.dataFile("data/data.pk"), prefix + "/share/vellomar/data/data.pk");
    EXPECT_EQ(folders.configFile("data/dx.cfg"), "/cfg/vellomar/dx.cfg");
    EXPECT_EQ(folders.playerDataFile("data/top7.tbl"), "/saves/vellomar/top7.tbl");
    EXPECT_EQ(folders.playerDataFile("data/saved.dat"), "/saves/vellomar/saved.dat");
    EXPECT_EQ(folders.stateFile("game.log"), "/state/vellomar/game.log");
}

TEST(GameFolders, UnsetEmptyOrRelativeXdgVariablesFallBackToTheHomeFolder)
{
    TempDir dir;
    const std::string prefix = installTree();
    const auto environment = environmentOf(
        {{"HOME", "/home/player"}, {"XDG_CONFIG_HOME", ""}, {"XDG_DATA_HOME", "relative/data"}});
    const GameFolders folders = GameFolders::locate(prefix + "/games/", environment);
    EXPECT_EQ(folders.configFile("data/dx.cfg"), "/home/player/.config/vellomar/dx.cfg");
    EXPECT_EQ(folders.playerDataFile("data/saved.dat"),
              "/home/player/.local/share/vellomar/saved.dat");
    EXPECT_EQ(folders.stateFile("game.log"), "/home/player/.local/state/vellomar/game.log");
}

TEST(GameFolders, WithoutAPackAnywhereTheProgramsFolderServesLooseFiles)
{
    TempDir dir;
    const std::string lone = (fs::current_path() / "lone/").string();
    fs::create_directories(lone);
    const GameFolders folders = GameFolders::locate(lone, kPlayer);
    EXPECT_FALSE(folders.isInstalled());
    EXPECT_EQ(folders.dataFile("mui/main_wnd.txt"), lone + "mui/main_wnd.txt");
    // No folder known at all: the working directory, as before.
    EXPECT_EQ(GameFolders::locate("", kPlayer).dataFile("data/data.pk"), "data/data.pk");
}
