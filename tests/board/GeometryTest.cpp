// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "BoardBuilder.h"

TEST(Geometry, CellCentresFollowTheRowShiftAndPointsTruncateTowardZero)
{
    auto field = makeField({.rows = 9, .width = 9});
    EXPECT_NEAR(Field::kRowHeight, 35.741f, 0.001f);
    EXPECT_FLOAT_EQ(field->cellCentre(4, 0).x, 40.0f);
    EXPECT_FLOAT_EQ(field->cellCentre(4, 0).y, 300.0f);
    EXPECT_FLOAT_EQ(field->cellCentre(0, 0).x, 120.0f);
    EXPECT_NEAR(field->cellCentre(0, 0).y, 300.0f - 4 * 35.741f, 0.01f);
    EXPECT_FLOAT_EQ(field->cellCentre(8, 4).x, 80.0f + 160.0f + 40.0f);
    // Row 0 spans y from about 139.17; the inner truncation makes 175 still row 0.
    EXPECT_EQ(field->rowAt(175.0f), 0);
    EXPECT_EQ(field->rowAt(176.0f), 1);
    EXPECT_EQ(field->rowAt(130.0f), 0); // just above the board still truncates to row 0
    // Middle row: column 0 covers x 20..60, and up to 40 units to its left.
    EXPECT_EQ(field->colAt(59.9f, 300.0f), 0);
    EXPECT_EQ(field->colAt(60.0f, 300.0f), 1);
    EXPECT_EQ(field->colAt(15.0f, 300.0f), 0);
    EXPECT_EQ(field->colAt(-20.0f, 300.0f), -1);
    EXPECT_EQ(field->colAt(1.0e30f, 1.0e30f) > 0, true); // far points stay defined
}

TEST(Geometry, StepsAreSymmetricInEveryHalf)
{
    constexpr int rows = 9, width = 9, middle = rows / 2;
    const Direction opposite[] = {Direction::East,      Direction::West,      Direction::SouthEast,
                                  Direction::SouthWest, Direction::NorthEast, Direction::NorthWest};
    for (int r = 1; r < rows - 1; ++r)
        for (int c = 1; c < rowLengthOf(r, rows, width) - 1; ++c)
            for (int d = 0; d < 6; ++d) {
                const GridPos there = step({r, c}, static_cast<Direction>(d), middle);
                EXPECT_EQ(step(there, opposite[d], middle), (GridPos{r, c}))
                    << r << "," << c << " dir " << d;
            }
}

TEST(LevelFileParse, ReadsNumbersWithTwoCharacterLineEnds)
{
    const std::string text = "5\r\n30\r\n5\r\n4\r\n3\r\n3\r\n0124x00";
    const LevelFile::Parsed p = LevelFile::parse(text.data(), text.size());
    ASSERT_TRUE(p.level) << p.error;
    EXPECT_EQ(p.level->numColours, 5);
    EXPECT_EQ(p.level->fillPercent, 30);
    EXPECT_EQ(p.level->newFlowerPercent, 5);
    EXPECT_EQ(p.level->wildcardPercent, 4);
    EXPECT_EQ(p.level->rows, 3);
    EXPECT_EQ(p.level->width, 3);
    EXPECT_EQ(p.level->layout, "0124x00");
    EXPECT_EQ(p.level->text(), text);
}

TEST(LevelFileParse, RefusesImpossibleBoards)
{
    auto refusal = [](const std::string& text) {
        const LevelFile::Parsed p = LevelFile::parse(text.data(), text.size());
        return p.level ? std::string("accepted") : p.error;
    };
    EXPECT_NE(refusal("5\r\n30\r\n5\r\n4\r\n121\r\n9\r\n").find("rows"), std::string::npos);
    EXPECT_NE(refusal("5\r\n30\r\n5\r\n4\r\n9\r\n121\r\n").find("longest row"), std::string::npos);
    EXPECT_NE(refusal("0\r\n30\r\n5\r\n4\r\n9\r\n9\r\n").find("colours"), std::string::npos);
    EXPECT_NE(refusal("14\r\n30\r\n5\r\n4\r\n9\r\n9\r\n").find("colours"), std::string::npos);
    for (const char* text : {"5\r\n30\r\n5\r\n4\r\n9\r\n4\r\n", "", "99999999999999999999\r\n"})
        EXPECT_NE(refusal(text), "accepted") << text; // rows shorter than nothing, no numbers
    EXPECT_EQ(refusal("13\r\n30\r\n5\r\n4\r\n1\r\n120\r\n"), "accepted");
    // With an even number of rows the cell centres lie on the boundaries of the
    // point-to-cell mapping, so clicks and new flowers would land on the row above.
    EXPECT_EQ(refusal("6\r\n\r\n25\r\n6\r\n8\r\n7\r\n7\r\n01001820..104010000000000000=4"),
              "the number of rows must be odd");
}

TEST(LevelFileParse, LineEndInsideTheLayoutIsAHole)
{
    auto field = makeField({.rows = 3, .width = 3, .layout = "00\r000\r"});
    EXPECT_EQ(field->cellCount(), 5);
    EXPECT_FALSE(field->isCell(1, 0));
    EXPECT_FALSE(field->isCell(2, 1));
}
