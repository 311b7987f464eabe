#include "driver/WindowTestProcess.h"
#include "screens/GameRun.h"

#include "utils/KeyValueFile.h"

#include <gtest/gtest.h>

namespace {

void writeWindowedConfig(int x, int y)
{
    KeyValueFile file;
    file.setInt("m_window_width", 800);
    file.setInt("m_window_height", 600);
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
TEST(EndToEnd, TheWindowOpensWhereItWasLeftAndIsSavedThereAgain)
{
    GameFolder folder;
    prepareWindowTestProcess();
    writeWindowedConfig(300, 200);
    GameStartup::openPack();
    const bool opened = GameStartup::openShell();
    if (opened) {
        const ScreenRect desktop = Application::get().desktopRect();
        EXPECT_GT(desktop.right - desktop.left, 800) << "the test display is too small";
        const ScreenRect rect = Application::get().windowRect();
        EXPECT_EQ(rect.left, 300);
        EXPECT_EQ(rect.top, 200);
        EXPECT_FALSE(Application::get().isFullScreen());
        Config::get().save();
    }
    GameStartup::releaseResources();
    Application::destroy();
    if (!opened)
        GTEST_SKIP() << "no display with OpenGL";
    const KeyValueFile saved = savedConfig();
    EXPECT_EQ(saved.getInt("x", -1), 300);
    EXPECT_EQ(saved.getInt("y", -1), 200);
}
