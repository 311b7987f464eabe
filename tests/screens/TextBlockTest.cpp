// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/TextBlock.h"
#include "objects/Font.h"
#include "utils/FilePack.h"

#include <gtest/gtest.h>

namespace {

// The game's own font, measured without a window.
const Font& menuFont()
{
    static Font font = [] {
        FilePack pack;
        pack.setKey(kMainPackKey);
        pack.load(std::string(VM_GAME_DIR) + "/data/data.pk");
        Font loaded;
        const PackEntry entry = pack.getFile("mui/font.tga");
        loaded.load(entry.data.data(), entry.data.size(), nullptr);
        return loaded;
    }();
    return font;
}

std::vector<std::string> wrapped(const std::string& text, float width)
{
    TextBlock block(menuFont(), width, 20.0f, 10);
    block.wrap(text);
    return block.lines();
}

} // namespace

TEST(TextBlock, WordsFillALineUpToTheWidthAWiderWordStandsAloneAndLinesEndWithABlank)
{
    ASSERT_GT(menuFont().glyphCount(), 0);
    const float one = menuFont().measure("flower ", 20.0f);
    const auto lines = wrapped("flower flower flower flower", one * 2.5f);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "flower flower ");
    EXPECT_EQ(lines[1], "flower flower ");
    // A word wider than the width stands alone on its line.
    const auto wide = wrapped("a unbelievably b", menuFont().measure("unbeliev", 20.0f));
    ASSERT_EQ(wide.size(), 3u);
    EXPECT_EQ(wide[0], "a ");
    EXPECT_EQ(wide[1], "unbelievably ");
    EXPECT_EQ(wide[2], "b ");
}

TEST(TextBlock, OnlyACarriageReturnBreaksALineAndTwoInARowLeaveAnEmptyOne)
{
    const auto lines = wrapped("one\r\n\r\ntwo\nthree", 1000.0f);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "one ");
    EXPECT_EQ(lines[1], " ");
    EXPECT_EQ(lines[2], "twothree ");
}

TEST(TextBlock, ALongerTextIsSetSmallerUntilItsLinesAndWordsFitTheRoom)
{
    const float one = menuFont().measure("flower", 20.0f);
    TextBlock fits(menuFont(), one * 2.5f, 20.0f, 2);
    fits.fit("flower flower flower flower");
    EXPECT_EQ(fits.size(), 20.0f) << "a text that fits keeps its size";
    EXPECT_EQ(fits.shownLines(), 2u);

    TextBlock longer(menuFont(), one * 2.5f, 20.0f, 2);
    longer.fit("flower flower flower flower flower");
    EXPECT_LT(longer.size(), 20.0f);
    EXPECT_GE(longer.size(), 20.0f * TextBlock::kSmallestScale);
    EXPECT_EQ(longer.shownLines(), longer.lines().size()) << "no line left out";

    TextBlock wide(menuFont(), one * 0.8f, 20.0f, 3);
    wide.fit("flower");
    ASSERT_EQ(wide.lines().size(), 1u) << "no empty line before a wide word";
    EXPECT_LE(menuFont().measure("flower", wide.size()), one * 0.8f);
}
