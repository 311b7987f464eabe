#include "AssetPack.h"
#include "objects/Font.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(FontImage, HasTheExactHeaderAndAllGlyphs)
{
    auto bytes = AssetPack::instance().bytes("mui/font.tga");
    ASSERT_TRUE(bytes);
    ASSERT_GT(bytes->size(), 18u);
    const unsigned char header[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(bytes->compare(0, 12, reinterpret_cast<const char*>(header), 12), 0);
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes->data());
    int width = data[12] | data[13] << 8;
    int height = data[14] | data[15] << 8;
    EXPECT_EQ(data[16], 32);
    EXPECT_EQ(bytes->size(), 18u + std::size_t(width) * height * 4);

    Font font;
    ASSERT_TRUE(font.load(data, bytes->size(), nullptr));
    EXPECT_EQ(font.glyphCount(), Font::kGlyphCount);
    EXPECT_GT(font.lineHeight(), 0.0f);
    // Every line spans the same rows, so all glyphs share the line's height.
    for (int i = 0; i < font.glyphCount(); ++i) {
        const Font::Glyph& glyph = font.glyph(i);
        EXPECT_NEAR(glyph.top - glyph.bottom, font.lineHeight(), 1e-4) << char(33 + i);
        EXPECT_LT(glyph.left, glyph.right) << char(33 + i);
    }
}

TEST(FontImage, SpacesTextLikeTheTypeface)
{
    auto bytes = AssetPack::instance().bytes("mui/font.tga");
    ASSERT_TRUE(bytes);
    Font font;
    ASSERT_TRUE(font.load(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size(), nullptr));
    // Proportional: "i" is narrow, "W" wide; widths scale with the size.
    EXPECT_LT(font.measure("i", 24), font.measure("W", 24) / 2);
    EXPECT_NEAR(font.measure("Score", 40), 2 * font.measure("Score", 20), 0.01);
    // The widest results line (size 28, from x 233) and the title (size 36,
    // centred) stay inside the frame of the panel from x 144 to 656.
    EXPECT_LT(233 + font.measure("Time on level : 10:59:59", 28), 656 - 18);
    EXPECT_LT(font.measure("Level not completed!", 36), 512 - 36);
}
