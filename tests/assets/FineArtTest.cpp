// SPDX-License-Identifier: GPL-3.0-or-later
#include "AssetPack.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

// The pictures at twice the size, data/data2x.pk beside the main pack.
FilePack finePack()
{
    FilePack pack;
    pack.setKey(kMainPackKey);
    EXPECT_TRUE(pack.load(VM_GAME_DIR "/data/data2x.pk"));
    return pack;
}

std::string bytesOf(const FilePack& pack, const std::string& name)
{
    auto entry = pack.findFile(name);
    return entry ? std::string(entry->chars(), entry->data.size()) : std::string();
}

bool isPicture(const std::string& name)
{
    for (const char* ending : {".png", ".jpg", ".tga"})
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ending) == 0)
            return true;
    return false;
}

} // namespace

TEST(FinePictures, EveryPictureIsThereAtTwiceItsSizeAndTheFontsGlyphsWhereTheBaseHasThem)
{
    const FilePack fine = finePack();
    const FilePack& main = AssetPack::instance().pack();
    int pictures = 0;
    for (const std::string& name : main.names()) {
        if (!isPicture(name))
            continue;
        ++pictures;
        ASSERT_TRUE(fine.contains(name)) << name;
        const PictureSize base = pictureSize(name);
        const PictureSize twice = pictureSize(name, bytesOf(fine, name));
        ASSERT_TRUE(base.valid && twice.valid) << name;
        EXPECT_EQ(twice.width, 2 * base.width) << name;
        EXPECT_EQ(twice.height, 2 * base.height) << name;
    }
    EXPECT_GT(pictures, 50);
    for (const std::string& name : fine.names())
        EXPECT_TRUE(main.contains(name)) << name << " is in the fine pack only";
    // The game measures the font in the base picture and draws from the fine
    // one with the same texture coordinates: every glyph must stand in the same
    // share of the picture, its ink inside the base glyph's box.
    const std::string baseBytes = AssetPack::instance().bytes("mui/font.tga").value_or("");
    const std::string fineBytes = bytesOf(fine, "mui/font.tga");
    const Font& base = packFont();
    Font twice;
    ASSERT_TRUE(twice.load(reinterpret_cast<const std::uint8_t*>(fineBytes.data()),
                           fineBytes.size(), nullptr));
    ASSERT_EQ(twice.glyphCount(), base.glyphCount());
    const auto* header = reinterpret_cast<const std::uint8_t*>(baseBytes.data());
    const float column = 1.0f / float(header[12] | header[13] << 8);
    const float row = 1.0f / float(header[14] | header[15] << 8);
    for (int i = 0; i < base.glyphCount(); ++i) {
        const Font::Glyph& b = base.glyph(i);
        const Font::Glyph& t = twice.glyph(i);
        // The fine ink runs from half a base column right of the fine box's left edge.
        EXPECT_GE(t.left + column / 2, b.left - 1e-5f) << "glyph " << i;
        EXPECT_LE(t.right, b.right + 1e-5f) << "glyph " << i;
        EXPECT_NEAR(t.right - t.left, b.right - b.left, 2 * column) << "glyph " << i;
        EXPECT_NEAR(t.top, b.top, row) << "glyph " << i;
        EXPECT_NEAR(t.bottom, b.bottom, row) << "glyph " << i;
    }
}
