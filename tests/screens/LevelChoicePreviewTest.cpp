// SPDX-License-Identifier: GPL-3.0-or-later
// The level choice screen's small picture of each level's board: inside the
// frame of the background picture and in its middle.
#include "board/Field.h"
#include "board/LevelFile.h"
#include "screens/LevelChoiceScreen.h"
#include "utils/FilePack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using Frame = LevelChoiceScreen::Frame;

float toScreenX(float x)
{
    return LevelChoiceScreen::kPreviewX + x * LevelChoiceScreen::kPreviewScale;
}
float toScreenY(float y)
{
    return LevelChoiceScreen::kPreviewY + y * LevelChoiceScreen::kPreviewScale;
}

// The cells' extent on the screen, each cell a whole cell width across.
Frame previewOf(const Field& field)
{
    Frame box{1.0e9f, 1.0e9f, -1.0e9f, -1.0e9f};
    const float half = Field::kHalfWidth;
    for (int r = 0; r < field.rows(); ++r)
        for (int c = 0; c < field.rowLength(r); ++c)
            if (field.isCell(r, c)) {
                const Vec4 p = field.cellCentre(r, c);
                box.left = std::min(box.left, toScreenX(p.x - half));
                box.right = std::max(box.right, toScreenX(p.x + half));
                box.top = std::min(box.top, toScreenY(p.y - half));
                box.bottom = std::max(box.bottom, toScreenY(p.y + half));
            }
    return box;
}

class LevelChoicePreview : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        FilePack* pack = packExists("main") ? &getPack("main") : &createPack("main");
        pack->setKey(kMainPackKey);
        ASSERT_TRUE(pack->load(VM_GAME_DIR "/data/data.pk"));
    }
    static void TearDownTestSuite() { destroyPack("main"); }
};

constexpr Frame kFrame = LevelChoiceScreen::kPreviewFrame;
constexpr float kFrameMiddleX = (kFrame.left + kFrame.right) / 2.0f;
constexpr float kFrameMiddleY = (kFrame.top + kFrame.bottom) / 2.0f;

} // namespace

TEST_F(LevelChoicePreview, TheFrameIsTheOnePaintedAroundThePreviewAndEveryBoardIsCentredInIt)
{
    std::ifstream in(VM_SOURCE_DIR "/assets/art/svg/bg/custom_overlay.svg");
    const std::string svg((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string frame = "<rect x=\"292\" y=\"172\" width=\"226\" height=\"173\"";
    EXPECT_NE(svg.find(frame), std::string::npos);
    EXPECT_EQ(kFrame.right - kFrame.left, 226.0f);
    EXPECT_EQ(kFrame.bottom - kFrame.top, 173.0f);
    // The shrunk play screen sits in the middle of the frame.
    EXPECT_NEAR((toScreenX(0.0f) + toScreenX(800.0f)) / 2.0f, kFrameMiddleX, 1.0f);
    EXPECT_NEAR((toScreenY(0.0f) + toScreenY(600.0f)) / 2.0f, kFrameMiddleY, 1.0f);
    // Every board is centred in the frame.
    const float cell = Field::kCellWidth * LevelChoiceScreen::kPreviewScale;
    for (int level = 1; level <= LevelChoiceScreen::kLevelCount; ++level) {
        FieldListener unwatched;
        const Field field(LevelFile::load(level), level, false, 5, unwatched);
        const Frame box = previewOf(field);
        EXPECT_NEAR((box.left + box.right) / 2.0f, kFrameMiddleX, cell / 2.0f) << "level " << level;
        EXPECT_NEAR((box.top + box.bottom) / 2.0f, kFrameMiddleY, cell / 2.0f) << "level " << level;
        EXPECT_TRUE(box.left > kFrame.left && box.right < kFrame.right && box.top > kFrame.top &&
                    box.bottom < kFrame.bottom)
            << "level " << level;
    }
}
