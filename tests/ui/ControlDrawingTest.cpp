// SPDX-License-Identifier: GPL-3.0-or-later
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
    auto texture =
        std::make_unique<Texture>("frames.tga", bandedTga(40, 10, {kRed, kGreen, kBlue, kWhite}),
                                  TextureWrap::Clamp, TextureMipmaps::None);
    texture->upload();
    return texture;
}

// The driver with a screen of controls; skipped without a display.
class ControlDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!driver.available())
            GTEST_SKIP() << "no display with OpenGL";
    }

    ScriptedDriver driver;
    ControlScreen screen;
};

TEST_F(ControlDrawing, AButtonShowsTheFrameOfItsStateAndNothingWhenDisabled)
{
    auto texture = fourFrames();
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
    driver.release();
    button.setEnabled(false);
    driver.runFrames(1);
    EXPECT_EQ(colourAt(driver, 120, 105), 0u);
}

TEST_F(ControlDrawing, ACheckBoxTogglesUnderTheRealMouse)
{
    auto texture = fourFrames();
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

TEST_F(ControlDrawing, AFocusedEditBoxShowsItsSecondFrameAndTheCaret)
{
    auto texture = std::make_unique<Texture>("edit.tga", bandedTga(120, 30, {kBlue, kGreen}),
                                             TextureWrap::Clamp, TextureMipmaps::None);
    texture->upload();
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

TEST_F(ControlDrawing, AnEditBoxKeepsALongTextInside)
{
    auto frames = fourFrames(); // two frames of 40 x 20 for the box
    const std::vector<std::uint8_t> fontBytes = blockFontTga();
    auto glyphs =
        std::make_unique<Texture>("font.tga", fontBytes, TextureWrap::Clamp, TextureMipmaps::None);
    glyphs->upload();
    Font font;
    ASSERT_TRUE(font.load(fontBytes.data(), fontBytes.size(), glyphs.get()));
    EditBox box(screen, &font, 16.0f, frames.get());
    box.setPosition(100.0f, 100.0f, 0.0f);
    box.setText("WWWWWWW"); // wider than the box at size 16
    ASSERT_GT(font.measure(box.text().c_str(), 16.0f), 40.0f);
    screen.addControl(box);
    driver.show(screen);
    driver.runFrames(1);
    auto yellowBetween = [&](int from, int to) {
        for (int x = from; x < to; ++x)
            if (colourAt(driver, x, 110) == 0xffff00u)
                return true;
        return false;
    };
    EXPECT_TRUE(yellowBetween(100, 140)) << "the text is shown";
    EXPECT_TRUE(yellowBetween(125, 140)) << "and fills the box";
    EXPECT_FALSE(yellowBetween(140, 180)) << "but stays inside it";
}

TEST_F(ControlDrawing, CtrlVAndShiftInsertPasteAndTypedUtf8GoIntoTheFocusedBox)
{
    ClipboardText clipboard;
    Clipboard::install(&clipboard);
    const std::vector<std::uint8_t> fontBytes = blockFontTga(Font::kMaxGlyphs + 1);
    Font font;
    ASSERT_TRUE(font.load(fontBytes.data(), fontBytes.size(), nullptr));
    EditBox box(screen, &font, 16.0f, nullptr);
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
    driver.type("!\xc3\xab\xff"); // a typed "ë" is one character, a stray byte none
    EXPECT_EQ(box.text(), "pastedpasted!\xc3\xab");
    Clipboard::install(nullptr);
}

TEST_F(ControlDrawing, TheDimmingRectangleDarkensTheWholeScreen)
{
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
    } dimmed;
    driver.show(dimmed);
    driver.runFrames(1);
    for (auto [x, y] : {std::pair{1, 1}, std::pair{400, 300}, std::pair{798, 598}}) {
        const Rgb rgb = driver.pixel(x, y);
        EXPECT_NEAR(rgb.r, 128, 3);
        EXPECT_NEAR(rgb.b, 128, 3);
    }
}

} // namespace
