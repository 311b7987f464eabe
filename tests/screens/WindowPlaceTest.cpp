// SPDX-License-Identifier: GPL-3.0-or-later
#include "driver/WindowTestProcess.h"
#include "screens/GameRun.h"

#include "utils/KeyValueFile.h"
#include "utils/Log.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

void writeWindowedConfig(int x, int y, int width = 800, int height = 600)
{
    KeyValueFile file;
    file.setInt("m_window_width", width);
    file.setInt("m_window_height", height);
    file.setInt("x", x);
    file.setInt("y", y);
    file.setInt("m_is_full_screen_loaded", 0);
    file.save(Config::kFileName, Config::kKey, Config::kKeyLength);
}

KeyValueFile savedConfig()
{
    KeyValueFile file;
    file.loadFromDisk(Config::kFileName, true, Config::kKey, Config::kKeyLength);
    return file;
}

} // namespace

// The start-up path of the program itself, up to the window and its context.
TEST(EndToEnd, TheWindowOpensWhereItWasLeftWhollyOnTheDesktopAndIsSavedThereAgain)
{
    GameFolder folder;
    prepareWindowTestProcess();
    writeWindowedConfig(300, 200);
    auto game = std::make_unique<GameStartup>();
    game->openPack();
    if (!game->openShell())
        GTEST_SKIP() << "no display with OpenGL";
    const ScreenRect desktop = Application::get().desktopRect();
    EXPECT_GT(desktop.right - desktop.left, 800) << "the test display is too small";
    ScreenRect rect = Application::get().windowRect();
    EXPECT_EQ(rect.left, 300);
    EXPECT_EQ(rect.top, 200);
    EXPECT_FALSE(Application::get().isFullScreen());
    Config::get().save();
    game.reset();
    const KeyValueFile saved = savedConfig();
    EXPECT_EQ(saved.getInt("x", -1), 300);
    EXPECT_EQ(saved.getInt("y", -1), 200);

    // Larger than the desktop and far beyond it, it still opens wholly on it.
    writeWindowedConfig(15000, 9000, 16000, 16000);
    game = std::make_unique<GameStartup>();
    game->openPack();
    ASSERT_TRUE(game->openShell());
    rect = Application::get().windowRect();
    EXPECT_GE(rect.left, desktop.left);
    EXPECT_GE(rect.top, desktop.top);
    EXPECT_LE(rect.right, desktop.right);
    EXPECT_LE(rect.bottom, desktop.bottom);
    EXPECT_GT(rect.right - rect.left, 0);
}

TEST(EndToEndDeathTest, ADamagedPackAsksThePlayerToReinstallInWords)
{
    // Forked where it stands: the child must find this game folder.
    GTEST_FLAG_SET(death_test_style, "fast");
    const std::string cut = std::string("LB\2\0\0\0\1\0\0\0a\1\0\0\0nx", 17);
    for (const auto& [bytes, why] : std::vector<std::pair<std::string, std::string>>{
             {"", "is empty"},
             {"\x89PNG garbage", "is not a game data pack"},
             {cut, "has a damaged table of contents: 1 of its 2 files are whole"}}) {
        GameFolder folder;
        std::filesystem::remove("data/data.pk");
        std::ofstream("data/data.pk", std::ios::binary) << bytes;
        EXPECT_EXIT(
            {
                ::unsetenv("DISPLAY"); // the message box has nowhere to go
                ::unsetenv("WAYLAND_DISPLAY");
                Log::open("game.log");
                GameStartup().openPack();
            },
            testing::ExitedWithCode(1),
            "^vellomar: The game's data is damaged: data/data.pk " + why +
                "\\.\nPlease reinstall Vellomar\\.\n$");
        std::ifstream log("game.log");
        const std::string logged(std::istreambuf_iterator<char>(log), {});
        EXPECT_NE(logged.find("data/data.pk " + why), std::string::npos) << logged;
    }
}
