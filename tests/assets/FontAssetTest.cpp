// SPDX-License-Identifier: GPL-3.0-or-later
#include "AssetPack.h"
#include "objects/Font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

namespace {

// The font picture's bytes and the size its header gives.
struct FontPicture {
    std::string bytes = AssetPack::instance().bytes("mui/font.tga").value_or(std::string(18, '\0'));
    const std::uint8_t* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    int width = data[12] | data[13] << 8;
    int height = data[14] | data[15] << 8;

    // The strongest alpha of a picture column within a glyph's rows.
    int columnPeak(const Font::Glyph& glyph, int column) const
    {
        int peak = 0;
        for (int row = int(std::lround(glyph.bottom * height));
             row <= int(std::lround(glyph.top * height)); ++row)
            peak = std::max<int>(peak, data[18 + (std::size_t(row) * width + column) * 4 + 3]);
        return peak;
    }
};

} // namespace

TEST(FontImage, HasTheExactHeaderGlyphBoxesOfJustTheirInkAndTheTypefacesSpacing)
{
    const FontPicture picture;
    const unsigned char header[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(picture.bytes.compare(0, 12, reinterpret_cast<const char*>(header), 12), 0);
    EXPECT_EQ(picture.data[16], 32);
    ASSERT_EQ(picture.bytes.size(), 18u + std::size_t(picture.width) * picture.height * 4);

    const Font& font = packFont();
    ASSERT_EQ(font.glyphCount(), Font::kMaxGlyphs);
    EXPECT_GT(font.lineHeight(), 0.0f);
    // Every line spans the same rows, so all glyphs share the line's height
    // (accented capitals too).
    // The box is the run of ink plus one empty column each side; its outer
    // ink columns must show, or faint dust widens every letter.
    for (int i = 0; i < font.glyphCount(); ++i) {
        const Font::Glyph& glyph = font.glyph(i);
        EXPECT_NEAR(glyph.top - glyph.bottom, font.lineHeight(), 1e-4) << "glyph " << i;
        EXPECT_LT(glyph.left, glyph.right) << "glyph " << i;
        const int first = int(std::lround(glyph.left * picture.width)) + 1;
        const int last = int(std::lround(glyph.right * picture.width)) - 1;
        EXPECT_GE(picture.columnPeak(glyph, first), 40) << "left edge of glyph " << i;
        EXPECT_GE(picture.columnPeak(glyph, last), 40) << "right edge of glyph " << i;
    }
    // The ASCII letters set the line's height, not the accented capitals:
    // the stem of "H" fills two thirds of the line, as it did before them.
    const Font::Glyph& h = font.glyph('H' - Font::kFirstChar);
    const int stem = int(std::lround(h.left * picture.width)) + 2;
    int stemRows = 0;
    for (int row = int(std::lround(h.bottom * picture.height));
         row <= int(std::lround(h.top * picture.height)); ++row)
        stemRows += picture.data[18 + (std::size_t(row) * picture.width + stem) * 4 + 3] >= 128;
    EXPECT_GT(float(stemRows) / (font.lineHeight() * float(picture.height)), 0.62f);
    // Proportional: "i" is narrow, "W" wide; widths scale with the size.
    EXPECT_LT(font.measure("i", 24), font.measure("W", 24) / 2);
    EXPECT_NEAR(font.measure("Score", 40), 2 * font.measure("Score", 20), 0.01);
    // "A" keeps the typeface's width (a squeezed one reads as a lambda).
    EXPECT_GT(font.measure("A", 24), 0.9f * font.measure("V", 24));
    // A word space about two thirds of an "n": words read as words, not as
    // letters set apart ("Every  burst  wears  down").
    const float size = 20;
    const float space = font.measure(" ", size);
    EXPECT_LT(space, 0.85f * font.measure("n", size));
    EXPECT_GT(space, 0.5f * font.measure("n", size));
    // The gap between letters (one tenth of a space and the two margin
    // columns) stays a small fraction of the word space.
    const float texel = size / (font.lineHeight() * float(picture.height));
    EXPECT_LT(space / 10 + 2 * texel, space / 2);
}
