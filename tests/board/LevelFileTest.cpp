// SPDX-License-Identifier: GPL-3.0-or-later
// Level files that the game cannot play end the program with a message that
// names the file, instead of running off the board tables.
#include <gtest/gtest.h>

#include "BoardBuilder.h"
#include "board/Field.h"
#include "board/LevelFile.h"
#include "utils/FilePack.h"
#include "utils/TempDir.h"

namespace {
// The test runs in a fresh folder; the empty pack "main" sends level names to its levels/.
class LevelFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!packExists("main"))
            createPack("main");
    }
    void TearDown() override { destroyPack("main"); }
    static void write(int level, const std::string& bytes)
    {
        TempDir::writeFile(LevelFile::fileName(level), bytes);
    }

    TempDir m_dir;
};
} // namespace

TEST_F(LevelFolder, AMissingOrRefusedLevelEndsTheProgramWithTheReasonAndTheFile)
{
    EXPECT_EXIT({ LevelFile::load(42); }, ::testing::ExitedWithCode(EXIT_FAILURE),
                "levels/level042.txt");
    write(2, "5\r\n30\r\n5\r\n4\r\n9\r\n500\r\n");
    EXPECT_EXIT({ LevelFile::load(2); }, ::testing::ExitedWithCode(EXIT_FAILURE),
                "longest row.*level002");
}

TEST_F(LevelFolder, ShortFileFromThePackPlaysWithHoles)
{
    write(5, "3\r\n50\r\n10\r\n0\r\n9\r\n9\r\n00000");
    Field field(LevelFile::load(5), 5, false, 1, unwatched());
    EXPECT_EQ(field.cellCount(), 5);
    for (int i = 0; i < 300; ++i)
        field.update(33.0f);
    EXPECT_EQ(field.invariantFault(), "");
}

TEST(LevelFileParse, ThirteenColoursAndTheLargestTablesAreAccepted)
{
    LevelFile f;
    f.numColours = 13;
    f.fillPercent = 60;
    f.newFlowerPercent = 5;
    f.wildcardPercent = 50;
    f.rows = 119;
    f.width = 120;
    f.layout.assign(static_cast<std::size_t>(f.positionCount()), '4');
    const std::string text = f.text();
    const LevelFile::Parsed p = LevelFile::parse(text.data(), text.size());
    ASSERT_TRUE(p.level) << p.error;
    Field field(*p.level, 100, true, 7, unwatched());
    EXPECT_EQ(field.cellCount(), f.positionCount());
    EXPECT_TRUE(field.isCell(59, 119));
    EXPECT_TRUE(field.isCell(0, 60));
    EXPECT_FALSE(field.isCell(0, 61));
    EXPECT_EQ(field.invariantFault(), "");
}

TEST(LevelFileParse, OddRowsMapEveryCentreBackToItsCell)
{
    for (int rows = 1; rows <= 119; rows += 2) {
        LevelFile f;
        f.numColours = 3;
        f.rows = rows;
        f.width = 120;
        f.layout.assign(static_cast<std::size_t>(f.positionCount()), '0');
        Field field(f, 1, false, 1, unwatched());
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < field.rowLength(r); c += 7)
                ASSERT_EQ(field.cellUnder(field.cellCentre(r, c)), (GridPos{r, c}))
                    << rows << " rows";
    }
}
