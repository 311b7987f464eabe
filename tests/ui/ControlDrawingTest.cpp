#include "app/Application.h"
#include "driver/ScriptedDriver.h"
#include "platform/Clipboard.h"
#include "platform/VirtualKey.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/EditBox.h"
#include "ui/UiTestSupport.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kRed = 0xff0000, kGreen = 0x00ff00, kBlue = 0x0000ff, kWhite = 0xffffff;

// A screen in the game's 2D view on black, drawing its controls.
class ControlScreen : public OwnerWindow {
public:
    void render() override
    {
        Application::get().camera().set2DView(float(Application::get().clientWidth()),
                                              float(Application::get().clientHeight()), false);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        Window::render();
    }
};

class ClipboardText : public Clipboard {
public:
    bool hasText() const override { return true; }
    std::string text() const override { return "pasted"; }
};

std::uint32_t colourAt(ScriptedDriver& driver, int x, int y)
{
    const Rgb rgb = driver.pixel(x, y);
    auto level = [](int v) { return v > 200 ? 255u : v < 50 ? 0u : 128u; };
    return level(rgb.r) << 16 | level(rgb.g) << 8 | level(rgb.b);
}

std::unique_ptr<Texture> fourFrames()
{
    auto texture = std::make_unique<Texture>(
        "frames.tga", bandedTga(40, 10, {kRed, kGreen, kBlue, kWhite}), TextureWrap::Clamp,
        TextureMipmaps::None);
    texture->upload();
    return texture;
}

#define REQUIRE_DISPLAY(driver)                                                                    \
    if (!(driver).available())                                                                     \
    GTEST_SKIP() << "no display with OpenGL"

TEST(ControlDrawing, AButtonShowsTheFrameOfItsStateAndNothingWhenDisabled)
{
    ScriptedDriver driver;
    REQUIRE_DISPLAY(driver);
    auto texture = fourFrames();
    ControlScreen screen;
    Button button(screen, texture.get());
    button.setPosition(100.0f, 100.0f, 0.0f);
    screen.addControl(button);
    driver.show(screen);
    driver.runFrames(1);
    EXPECT_EQ(colourAt(driver, 120, 105), kRed);
    driver.moveTo(120, 105);
    driver.runFrames(1);
    EXPECT_EQ(colourAt(driver, 120, 105), kGreen);
    driver.press();
    driver.runFrames(1);
    EXPECT_EQ(colourAt(driver, 120, 105), kBlue);
    EXPECT_EQ(screen.used.size(), 1u);
    driver.release();
    button.setEnabled(false);
    driver.runFrames(1);
    EXPECT_EQ(colourAt(driver, 120, 105), 0u);
    driver.click(120, 105);
    EXPECT_EQ(screen.used.size(), 1u);
}

TEST(ControlDrawing, ACheckBoxTogglesUnderTheRealMouse)
{
    ScriptedDriver driver;
    REQUIRE_DISPLAY(driver);
    auto texture = fourFrames();
    ControlScreen screen;
    CheckBox box(screen, texture.get());
    screen.addControl(box);
    driver.show(screen);
    driver.click(210, 45);
    EXPECT_TRUE(box.isChecked());
    driver.runFrames(1);
    EXPECT_EQ(colourAt(driver, 210, 45), kWhite);
    driver.moveTo(500, 500);
    driver.runFrames(1);
    EXPECT_EQ(colourAt(driver, 210, 45), kBlue);
}

TEST(ControlDrawing, AFocusedEditBoxShowsItsSecondFrameAndTheCaret)
{
    ScriptedDriver driver;
    REQUIRE_DISPLAY(driver);
    auto texture = std::make_unique<Texture>("edit.tga", bandedTga(120, 30, {kBlue, kGreen}),
                                             TextureWrap::Clamp, TextureMipmaps::None);
    texture->upload();
    ControlScreen screen;
    EditBox box(screen, nullptr, 16.0f, texture.get());
    box.setPosition(100.0f, 100.0f, 0.0f);
    screen.addControl(box);
    driver.show(screen);
    driver.runFrames(1);
    EXPECT_EQ(colourAt(driver, 150, 115), kBlue);
    driver.click(150, 115);
    driver.press(VirtualKey::Home); // shows the caret
    driver.runFrames(1);
    EXPECT_EQ(colourAt(driver, 150, 115), kGreen);
    EXPECT_EQ(colourAt(driver, 108, 115), 0xffff00u); // the yellow caret at the margin
}

TEST(ControlDrawing, CtrlVAndShiftInsertPasteIntoTheFocusedBox)
{
    ScriptedDriver driver;
    REQUIRE_DISPLAY(driver);
    ClipboardText clipboard;
    Clipboard::install(&clipboard);
    ControlScreen screen;
    EditBox box(screen, nullptr, 16.0f, nullptr);
    box.setMaxLength(20);
    box.setFocus(true);
    screen.addControl(box);
    driver.show(screen);
    driver.press(VirtualKey::V);
    EXPECT_EQ(box.text(), "");
    driver.keyDown(VirtualKey::Control);
    driver.press(VirtualKey::V);
    driver.keyUp(VirtualKey::Control);
    EXPECT_EQ(box.text(), "pasted");
    driver.keyDown(VirtualKey::Shift);
    driver.press(VirtualKey::Insert);
    driver.keyUp(VirtualKey::Shift);
    EXPECT_EQ(box.text(), "pastedpasted");
    driver.type("!");
    EXPECT_EQ(box.text(), "pastedpasted!");
    Clipboard::install(nullptr);
}

TEST(ControlDrawing, TheDimmingRectangleDarkensTheWholeScreen)
{
    ScriptedDriver driver;
    REQUIRE_DISPLAY(driver);
    struct DimmedScreen : Window {
        TestDialog dialog;
        void render() override
        {
            Application::get().camera().set2DView(800.0f, 600.0f, false);
            glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT);
            dialog.setScreenSize(800, 600);
            dialog.drawDim(0.0f, 0.0f, 0.0f, 0.5f);
        }
    } screen;
    driver.show(screen);
    driver.runFrames(1);
    for (auto [x, y] : {std::pair{1, 1}, std::pair{400, 300}, std::pair{798, 598}}) {
        const Rgb rgb = driver.pixel(x, y);
        EXPECT_NEAR(rgb.r, 128, 3);
        EXPECT_NEAR(rgb.b, 128, 3);
    }
}

} // namespace
