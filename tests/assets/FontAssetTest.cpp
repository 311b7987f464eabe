#include "AssetPack.h"
#include "objects/Font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

namespace {

struct PackFont {
    std::string bytes;
    Font font;
    int width = 0, height = 0;

    PackFont() : bytes(AssetPack::instance().bytes("mui/font.tga").value_or(""))
    {
        const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
        if (bytes.size() > 18 && font.load(data, bytes.size(), nullptr)) {
            width = data[12] | data[13] << 8;
            height = data[14] | data[15] << 8;
        }
    }
    // The strongest alpha of a picture column within a glyph's rows.
    int columnPeak(const Font::Glyph& glyph, int column) const
    {
        const auto* pixels = reinterpret_cast<const std::uint8_t*>(bytes.data()) + 18;
        int peak = 0;
        for (int row = int(std::lround(glyph.bottom * height)); row <= int(std::lround(glyph.top * height)); ++row)
            peak = std::max<int>(peak, pixels[(std::size_t(row) * width + column) * 4 + 3]);
        return peak;
    }
};

} // namespace

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
    // "A" keeps the typeface's width (a squeezed one reads as a lambda).
    EXPECT_GT(font.measure("A", 24), 0.9f * font.measure("V", 24));
    // The widest results line (size 28, from x 233) and the title (size 36,
    // centred) stay inside the frame of the panel from x 144 to 656.
    EXPECT_LT(233 + font.measure("Time on level : 10:59:59", 28), 656 - 18);
    EXPECT_LT(font.measure("Level not completed!", 36), 512 - 36);
}

TEST(FontImage, GlyphBoxesHoldJustTheirInk)
{
    PackFont packed;
    ASSERT_EQ(packed.font.glyphCount(), Font::kGlyphCount);
    // The box is the run of ink plus one empty column each side; its outer
    // ink columns must show, or faint dust widens every letter.
    for (int i = 0; i < packed.font.glyphCount(); ++i) {
        const Font::Glyph& glyph = packed.font.glyph(i);
        const int first = int(std::lround(glyph.left * packed.width)) + 1;
        const int last = int(std::lround(glyph.right * packed.width)) - 1;
        EXPECT_GE(packed.columnPeak(glyph, first), 40) << "left edge of " << char(33 + i);
        EXPECT_GE(packed.columnPeak(glyph, last), 40) << "right edge of " << char(33 + i);
    }
}

TEST(FontImage, WordSpaceIsNarrowerThanALetter)
{
    PackFont packed;
    const Font& font = packed.font;
    ASSERT_EQ(font.glyphCount(), Font::kGlyphCount);
    const float size = 20;
    const float space = font.measure(" ", size);
    // A word space about two thirds of an "n": words read as words, not as
    // letters set apart ("Every  burst  wears  down").
    EXPECT_LT(space, 0.85f * font.measure("n", size));
    EXPECT_GT(space, 0.5f * font.measure("n", size));
    // The gap between letters (one tenth of a space and the two margin
    // columns) stays a small fraction of the word space.
    const float texel = size / (font.lineHeight() * float(packed.height));
    EXPECT_LT(space / 10 + 2 * texel, space / 2);
}
