// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "app/RecordingWindow.h"
#include "driver/OwnDisplay.h"
#include "driver/ScriptedDriver.h"
#include "objects/Texture.h"
#include "platform/GlDriver.h"
#include "platform/VirtualKey.h"
#include "utils/FilePack.h"
#include "utils/Log.h"
#include "utils/TempDir.h"

#include <GL/gl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>

using ::testing::Contains;
using ::testing::ElementsAre;

namespace {

// A TGA file of one colour, as the texture loader reads it.
std::vector<std::uint8_t> solidTga(int size, std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    std::vector<std::uint8_t> bytes = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    bytes.push_back(std::uint8_t(size));
    bytes.push_back(0);
    bytes.push_back(std::uint8_t(size));
    bytes.push_back(0);
    bytes.push_back(32);
    bytes.push_back(8);
    for (int i = 0; i < size * size; ++i)
        bytes.insert(bytes.end(), {b, g, r, 255});
    return bytes;
}

// A screen that clears to dark blue and draws its texture at (100, 100).
class PaintingScreen : public RecordingWindow {
public:
    using RecordingWindow::RecordingWindow;
    Texture* texture = nullptr;
    void render() override
    {
        RecordingWindow::render();
        Application::get().camera().set2DView(float(Application::get().clientWidth()),
                                              float(Application::get().clientHeight()), false);
        glClearColor(0.0f, 0.0f, 0.5f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        if (texture != nullptr)
            texture->draw(100.0f, 100.0f, 0.0f);
    }
};

std::vector<std::string> logLines(const std::string& path)
{
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

#define REQUIRE_DISPLAY(driver)                                                                    \
    if (!(driver).available())                                                                     \
    GTEST_SKIP() << "no display with OpenGL"

// Keys, characters and the mouse reach the top window; Alt+F4 goes to the
// front screen once, whose request then ends the program.
TEST(ShellDriver, InputArrivesAsVirtualKeysCharactersAndMouseMessagesAndAltF4EndsTheProgram)
{
    ScriptedDriver driver;
    REQUIRE_DISPLAY(driver);
    EXPECT_TRUE(GlDriver::hasRequiredExtensions()) << "Mesa offers the multitexture extension";
    std::vector<std::string> journal;
    RecordingWindow screen(journal, "screen");
    RecordingWindow dialog(journal, "dialog");
    screen.onClose = [] { Application::get().postCloseMessage(); };
    driver.show(screen);
    journal.clear();
    driver.press(VirtualKey::Escape);
    driver.press(VirtualKey::V);
    driver.press(VirtualKey::Delete);
    driver.type("ab");
    EXPECT_THAT(journal, ElementsAre("screen.key(27)", "screen.char(27)", "screen.key(86)",
                                     "screen.key(46)", "screen.char(97)", "screen.char(98)"));
    driver.keyDown(VirtualKey::Control);
    driver.moveTo(10, 20);
    driver.press();
    driver.moveTo(12, 22);
    driver.release();
    driver.keyUp(VirtualKey::Control);
    EXPECT_THAT(journal, Contains("screen.move(10,20,8)"));
    EXPECT_THAT(journal, Contains("screen.ldown(10,20)"));
    EXPECT_THAT(journal, Contains("screen.move(12,22,9)"));
    EXPECT_THAT(journal, Contains("screen.lup(12,22)"));

    driver.app().pushDialog(dialog);
    journal.clear();
    driver.keyDown(VirtualKey::Alt);
    driver.keyDown(VirtualKey::F4);
    EXPECT_TRUE(driver.app().dialogs().empty());
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "screen.closeRequest"), 1);
    EXPECT_TRUE(driver.app().hasQuit());
}

// The pointer follows plain motion, also left of the window; dragging the
// background of a draggable screen moves the window; its icon comes from the
// pack or the disk and may be missing.
TEST(ShellDriver, ThePointerFollowsMotionDraggingTheBackgroundMovesTheWindowAndItsIconLoads)
{
    TempDir dir;
    DriverOptions options;
    options.x = 100;
    options.y = 50;
    ScriptedDriver driver(options);
    REQUIRE_DISPLAY(driver);
    driver.moveTo(300, 200);
    ScreenPoint point = driver.app().input().pointerPosition();
    EXPECT_EQ(point.x, 300);
    EXPECT_EQ(point.y, 200);
    driver.moveToClient(-40, 10);
    point = driver.app().input().pointerPosition();
    EXPECT_EQ(point.x, -40);
    EXPECT_EQ(point.y, 10);

    struct Draggable : Window {
        Draggable() { setDraggable(true); }
    } screen;
    driver.show(screen);
    const ScreenRect before = driver.app().windowRect();
    driver.moveTo(10, 10);
    driver.press();
    driver.moveTo(60, 30);
    driver.release();
    const ScreenRect after = driver.app().windowRect();
    EXPECT_EQ(after.left - before.left, 50);
    EXPECT_EQ(after.top - before.top, 20);
    EXPECT_EQ(after.right - after.left, 800);

    // The window icon comes from the pack or the disk and may be missing.
    const std::vector<std::uint8_t> tga = solidTga(32, 10, 200, 30);
    TempDir::writeFile("icon.tga", std::string(tga.begin(), tga.end()));
    TempDir::writeFile("broken.png", "not a picture");
    FilePack pack;
    EXPECT_TRUE(driver.app().loadWindowIcon(pack, "icon.tga"));
    EXPECT_FALSE(driver.app().loadWindowIcon(pack, "missing.png"));
    EXPECT_FALSE(driver.app().loadWindowIcon(pack, "broken.png"));
}

// A screen that records its clicks in logical coordinates.
struct LogicalPainter : PaintingScreen {
    using PaintingScreen::PaintingScreen;
    void onLeftButtonDown(int x, int y, std::uint32_t keys) override
    {
        PaintingScreen::onLeftButtonDown(toLogicalX(x), toLogicalY(y), keys);
    }
};

// Full screen and back: the picture between black bars with the mouse mapped
// to it, textures kept across the new context, the driver logged each time.
TEST(ShellDriver, AWideDesktopShowsTheScaledScreenBetweenBlackBarsAndBackKeepsTheTextures)
{
    OwnDisplay display("1280x720x24"); // a 16:9 desktop
    if (!display.up())
        GTEST_SKIP() << "Xvfb could not be started";
    TempDir dir;
    {
        DriverOptions options;
        options.fullScreen = true;
        options.logFile = "game.log";
        ScriptedDriver driver(options);
        REQUIRE_DISPLAY(driver);
        Application& app = driver.app();
        EXPECT_EQ(app.clientWidth(), 960);
        EXPECT_EQ(app.clientHeight(), 720);

        std::vector<std::string> journal;
        Texture texture("red.tga", solidTga(64, 255, 0, 0), TextureWrap::Clamp,
                        TextureMipmaps::None);
        texture.upload();
        Texture undrawn("green.tga", solidTga(64, 0, 255, 0), TextureWrap::Clamp,
                        TextureMipmaps::None);
        undrawn.upload();
        LogicalPainter screen(journal, "screen");
        screen.texture = &texture;
        driver.show(screen);
        driver.runFrames(1);
        const Screenshot window = driver.wholeWindow();
        EXPECT_EQ(window.at(80, 360).b, 0);     // left bar
        EXPECT_EQ(window.at(1200, 360).b, 0);   // right bar
        EXPECT_GT(window.at(170, 5).b, 100);    // the screen's top-left corner
        EXPECT_GT(window.at(1110, 715).b, 100); // and its bottom-right one
        EXPECT_GT(driver.pixel(130, 130).r, 200);

        journal.clear();
        driver.click(0, 0);
        driver.click(799, 599);
        driver.moveTo(400, 300);
        EXPECT_THAT(journal, Contains("screen.ldown(0,0)"));
        EXPECT_THAT(journal, Contains("screen.ldown(799,599)"));
        const ScreenPoint pointer = app.input().pointerPosition();
        EXPECT_EQ(pointer.x, 480);
        EXPECT_EQ(pointer.y, 360);

        app.leaveFullScreen();
        driver.settle();
        EXPECT_FALSE(app.isFullScreen());
        EXPECT_EQ(app.clientWidth(), 800);
        EXPECT_EQ(app.clientHeight(), 600);
        const ScreenRect rect = app.windowRect();
        EXPECT_EQ(rect.left, 240); // centred, as the kept position was the corner
        EXPECT_EQ(rect.top, 60);
        driver.runFrames(1);
        EXPECT_TRUE(texture.isUploaded());
        EXPECT_GT(driver.pixel(130, 130).r, 200);
        // Only what is drawn is read again into the new context.
        EXPECT_FALSE(undrawn.isUploaded());
        EXPECT_EQ(undrawn.width(), 64);
        EXPECT_FALSE(app.setFullScreen(640, 480)) << "a narrow request is ignored";
        EXPECT_EQ(app.clientWidth(), 800);
    }
    Log::close();
    const std::vector<std::string> lines = logLines("game.log");
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.rfind("Vendor: ", 0) == 0; }),
              2);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), std::string(51, '-')), 4);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "Closing Log");
}

// In a child process of its own, whose environment goes with it: 1 when the
// window opened without a display, 2 when asking for the off-screen driver
// by name did not open it.
TEST(ShellDriverDeathTest, WithoutADisplayTheWindowIsNotOpenedOffScreen)
{
    EXPECT_EXIT(
        {
            ::unsetenv("DISPLAY");
            ::unsetenv("WAYLAND_DISPLAY");
            ::unsetenv("SDL_VIDEODRIVER");
            if (PlatformWindow::startVideo())
                std::_Exit(1);
            ::setenv("SDL_VIDEODRIVER", "offscreen", 1);
            std::_Exit(PlatformWindow::startVideo() ? 0 : 2);
        },
        testing::ExitedWithCode(0), "");
}

} // namespace
