// SPDX-License-Identifier: GPL-3.0-or-later
#include "AssetPack.h"

#include <gtest/gtest.h>

#include <map>

namespace {

struct SpriteSheet {
    int groups = 0;
    int frames = 0;
    PictureSize picture;
};

SpriteSheet readSprite(const std::string& name)
{
    KeyValueFile description = AssetPack::instance().keyValues(name);
    SpriteSheet sheet;
    sheet.groups = description.getInt("groups", 1);
    sheet.frames = description.getInt("frames", 1);
    sheet.picture = pictureSize(description.getString("file_name", "0"));
    return sheet;
}

} // namespace

TEST(SpriteAssets, EveryDescriptionCutsItsPictureEvenly)
{
    int checked = 0;
    for (const std::string& name : AssetPack::instance().pack().names()) {
        if (name.size() < 4 || name.compare(name.size() - 4, 4, ".spr") != 0)
            continue;
        ++checked;
        SpriteSheet sheet = readSprite(name);
        ASSERT_TRUE(sheet.picture.valid) << name << ": its picture is missing or broken";
        EXPECT_GT(sheet.groups, 0) << name;
        EXPECT_GT(sheet.frames, 0) << name;
        if (sheet.groups <= 0 || sheet.frames <= 0)
            continue;
        EXPECT_EQ(sheet.picture.width % sheet.frames, 0) << name;
        EXPECT_EQ(sheet.picture.height % sheet.groups, 0) << name;
    }
    EXPECT_EQ(checked, 10);
}

TEST(SpriteAssets, GroupsServeTheirRolesAndFlowersAndCellsFitTheBoardGrid)
{
    // Flowers: colours 0..12 and the wildcards 13..15; cells by type 0..4.
    const std::map<std::string, int> minimumGroups = {{"dat/skin01.spr", 16},
                                                      {"dat/cellback.spr", 5},
                                                      {"dat/cellback_small.spr", 2},
                                                      {"mui/dragon.spr", 4},
                                                      {"dat/particles.spr", 1}};
    for (const auto& [name, groups] : minimumGroups)
        EXPECT_GE(readSprite(name).groups, groups) << name;
    EXPECT_GT(readSprite("dat/skin01.spr").frames, 1) << "flowers have an idle animation";
    EXPECT_GT(readSprite("dat/insects.spr").frames, 1) << "insects beat their wings";
    // Cells stand 40 units apart; a flower grows to 1.5 times its size while appearing.
    SpriteSheet flowers = readSprite("dat/skin01.spr");
    SpriteSheet cells = readSprite("dat/cellback.spr");
    EXPECT_LE(flowers.picture.width / flowers.frames, 64);
    EXPECT_GE(cells.picture.width / cells.frames, 40);
    EXPECT_LE(cells.picture.width / cells.frames, 56);
}
