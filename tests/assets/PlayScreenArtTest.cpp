// SPDX-License-Identifier: GPL-3.0-or-later
#include "AssetPack.h"
#include "game/HudLayout.h"
#include "game/NewElementNotice.h"
#include "image/Image.h"
#include "objects/Font.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using HudLayout::Box;

struct Rgba {
    int r = 0, g = 0, b = 0, a = 255;
};

// A decoded picture of the pack, read top row first.
struct Picture : Image {
    explicit Picture(const std::string& name)
    {
        if (auto bytes = AssetPack::instance().bytes(name))
            load(name, reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size());
    }
    Rgba at(int x, int y) const
    {
        const std::size_t row = std::size_t(height() - 1 - y);
        const std::uint8_t* p =
            pixels() + (row * std::size_t(width()) + std::size_t(x)) * std::size_t(components());
        return {p[0], p[1], p[2], components() == 4 ? p[3] : 255};
    }
};

// The panel is drawn from (144, 44) to (656, 556) at the picture's own size.
constexpr float kPanelX = 144.0f;
constexpr float kPanelY = 44.0f;

// Where the panel's picture is not transparent, on the screen.
Box visiblePanel(const Picture& panel)
{
    int x0 = panel.width(), y0 = panel.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < panel.height(); ++y)
        for (int x = 0; x < panel.width(); ++x)
            if (panel.at(x, y).a > 16) {
                x0 = std::min(x0, x);
                y0 = std::min(y0, y);
                x1 = std::max(x1, x + 1);
                y1 = std::max(y1, y + 1);
            }
    return {kPanelX + float(x0), kPanelY + float(y0), kPanelX + float(x1), kPanelY + float(y1)};
}

// The gold of the plaques' rims, as the background shows it.
bool gold(Rgba p)
{
    return p.r > 150 && p.g > 100 && p.b < 160 && p.r > p.b + 50;
}

// The background is drawn from (-112, -212); screen points map into it.
Rgba backgroundAt(const Picture& background, float x, float y)
{
    return background.at(int(x) + 112, int(y) + 212);
}

bool goldNear(const Picture& background, float x, float y)
{
    for (int dx = -3; dx <= 3; ++dx)
        if (gold(backgroundAt(background, x + float(dx), y)))
            return true;
    return false;
}

} // namespace

TEST(ResultsPanelArt, IsTransparentAroundItsFrameClearsTheDisplaysAndHoldsItsTexts)
{
    Picture panel("dat/stat.png");
    ASSERT_TRUE(panel.isValid());
    ASSERT_EQ(panel.components(), 4) << "the panel needs an alpha channel";
    EXPECT_EQ(panel.at(0, 0).a, 0);
    EXPECT_EQ(panel.at(panel.width() - 1, panel.height() - 1).a, 0);
    const Box visible = visiblePanel(panel);
    for (const Box& display : {HudLayout::kScore, HudLayout::kLives, HudLayout::kLevel,
                               HudLayout::kToClear, HudLayout::kGauge, HudLayout::kStreakLabel})
        EXPECT_FALSE(visible.overlaps({display.x0 - 6, display.y0, display.x1 + 6, display.y1}))
            << "panel " << visible.x0 << ".." << visible.x1 << " meets the display at "
            << display.x0 << ".." << display.x1;
    const Font& font = packFont();
    // The frame's rim and inner line take 18 units on each side.
    const float left = visible.x0 + 18.0f;
    const float right = visible.x1 - 18.0f;
    auto centredFits = [&](const char* text, float size) {
        const float w = font.measure(text, size);
        EXPECT_GE(400.0f - w / 2.0f, left) << text;
        EXPECT_LE(400.0f + w / 2.0f, right) << text;
    };
    centredFits("Level not completed!", 36.0f);
    centredFits("Life lost! Lives left : 2", 26.0f);
    centredFits("All levels completed!", 26.0f);
    centredFits("click to continue ...", 24.0f);
    EXPECT_LE(233.0f + font.measure("Time on level : 10:59:59", 28.0f), right);
    EXPECT_LE(231.0f + font.measure("Score on level : 1234567", 28.0f), right);
}

TEST(HudArt, PlaquesStandInOneColumnWhereTheNumbersAreDrawnAndOffTheScreensEdge)
{
    Picture background("dat/game_bg.jpg");
    ASSERT_TRUE(background.isValid());
    for (const Box& plaque :
         {HudLayout::kScore, HudLayout::kLives, HudLayout::kLevel, HudLayout::kToClear}) {
        EXPECT_FLOAT_EQ(plaque.x0, HudLayout::kScore.x0) << "one left edge";
        const float middle = (plaque.y0 + plaque.y1) / 2.0f;
        EXPECT_TRUE(goldNear(background, plaque.x0, middle)) << "left rim at " << plaque.x0;
        EXPECT_TRUE(goldNear(background, plaque.x1, middle)) << "right rim at " << plaque.x1;
        EXPECT_FALSE(goldNear(background, plaque.x1 + 10.0f, middle))
            << "nothing beyond " << plaque.x1;
    }
    for (const Box& box : {HudLayout::kGauge, HudLayout::kStreakLabel}) {
        const float middle = (box.y0 + box.y1) / 2.0f;
        EXPECT_TRUE(goldNear(background, box.x0, middle));
        EXPECT_TRUE(goldNear(background, box.x1, middle));
    }
    int goldAtEdge = 0;
    for (float y = HudLayout::kStreakLabel.y0 - 4; y < HudLayout::kStreakLabel.y1 + 4; ++y)
        for (float x = 797; x < 800; ++x)
            goldAtEdge += gold(backgroundAt(background, x, y));
    EXPECT_EQ(goldAtEdge, 0);
}

TEST(HudArt, BannersStandBetweenThePlaquesAndTheLargestNumbersFitThem)
{
    const Font& font = packFont();
    for (int i = 0; i < int(NewElementNotice::Element::Count); ++i) {
        const char* words = NewElementNotice::words(NewElementNotice::Element(i));
        const Box band = NewElementNotice::band(font, words);
        EXPECT_GT(band.x0, HudLayout::kScore.x1 + 8) << words;
        EXPECT_LT(band.x1, HudLayout::kGauge.x0 - 8) << words;
    }
    const float size = HudLayout::kNumberSize;
    // A margin of the rim and its rounded corner on each side.
    EXPECT_LE(font.measure("9999999", size), HudLayout::kScore.width() - 24.0f);
    EXPECT_LE(font.measure("100", size), HudLayout::kLevel.width() - 24.0f);
    EXPECT_LE(font.measure("225", size), HudLayout::kToClear.width() - 24.0f); // 15 x 15
    EXPECT_LE(font.measure("3", size), HudLayout::kLives.width() - 24.0f);
}
