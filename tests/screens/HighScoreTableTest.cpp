// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/HighScoreTable.h"
#include "utils/KeyValueFile.h"
#include "utils/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

HighScoreTable tableWith(const std::vector<int>& points)
{
    HighScoreTable table;
    KeyValueFile file;
    for (std::size_t r = 0; r < points.size(); ++r) {
        file.setString(HighScoreTable::nameKey(0, int(r)), "row" + std::to_string(r));
        file.setInt(HighScoreTable::pointsKey(0, int(r)), points[r]);
    }
    table.load(file);
    return table;
}

std::vector<int> pointsOf(const HighScoreTable& table, int page = 0)
{
    std::vector<int> points;
    for (int r = 0; r < HighScoreTable::kRows; ++r)
        points.push_back(table.entry(page, r).points);
    return points;
}

const std::vector<int> kFull = {1000, 900, 800, 700, 600, 500, 400};

} // namespace

TEST(HighScoreTable, InsertionKeepsTheOrderEqualPointsStayAboveAndAnEqualLastRowStays)
{
    HighScoreTable table = tableWith(kFull);
    EXPECT_FALSE(table.qualifies(0, 400));
    EXPECT_EQ(table.insert(0, 400, "late"), HighScoreTable::kNoRow);
    EXPECT_EQ(pointsOf(table), kFull);
    EXPECT_EQ(table.entry(0, 6).name, "row6");
    // Insertion keeps the order, and equal points stay above.
    EXPECT_EQ(table.insert(0, 450, "a"), 6);
    EXPECT_EQ(pointsOf(table), (std::vector<int>{1000, 900, 800, 700, 600, 500, 450}));
    table = tableWith(kFull);
    EXPECT_EQ(table.insert(0, 900, "b"), 2) << "the row the new entry took";
    EXPECT_EQ(pointsOf(table), (std::vector<int>{1000, 900, 900, 800, 700, 600, 500}));
    EXPECT_EQ(table.entry(0, 1).name, "row1");
    EXPECT_EQ(table.entry(0, 2).name, "b");
    table = tableWith(kFull);
    EXPECT_EQ(table.insert(0, 2000, "c"), 0);
    EXPECT_EQ(pointsOf(table), (std::vector<int>{2000, 1000, 900, 800, 700, 600, 500}));
    EXPECT_EQ(table.entry(0, 0).name, "c");
}

TEST(HighScoreTable, KeysAreThreeDigitsWidePageFirst)
{
    EXPECT_EQ(HighScoreTable::nameKey(0, 3), "top7.rec_name000003");
    EXPECT_EQ(HighScoreTable::pointsKey(1, 3), "top7.rec_points001003");
    HighScoreTable table;
    KeyValueFile file;
    table.save(file);
    EXPECT_EQ(file.entries().size(), 28u);
    EXPECT_EQ(file.getString("top7.rec_name001006", ""), "Nemo");
    EXPECT_EQ(file.getString("top7.rec_points001006", ""), "0");
}

TEST(HighScoreTable, OnlyPagesUpToTheLastWithAnEntryAreInUse)
{
    HighScoreTable table;
    EXPECT_EQ(table.pagesInUse(), 1);
    table.insert(0, 500, "Ann");
    EXPECT_EQ(table.pagesInUse(), 1) << "the game fills page 0 only";
    KeyValueFile file;
    table.save(file);
    file.setString(HighScoreTable::nameKey(1, 6), "Old");
    HighScoreTable stored;
    stored.load(file);
    EXPECT_EQ(stored.pagesInUse(), 2) << "a stored second page is still offered";
}

TEST(HighScoreTable, AMissingUnreadableTruncatedOrWrongKeyFileGivesAWholeTable)
{
    TempDir dir;
    TempDir::writeFile("data/garbage.tbl", std::string("\x01\xff\x7f\"//\"", 7));
    TempDir::writeFile("data/plain.tbl", "top7.rec_name000000 Eve\ntop7.rec_points000000 50\n");
    for (const char* path : {"data/missing.tbl", "data/garbage.tbl", "data/plain.tbl"}) {
        HighScoreTable table;
        table.loadFile(path);
        for (int p = 0; p < table.pageCount(); ++p)
            for (int r = 0; r < HighScoreTable::kRows; ++r) {
                EXPECT_EQ(table.entry(p, r).name, "Nemo") << path;
                EXPECT_EQ(table.entry(p, r).points, 0) << path;
            }
    }
    // A truncated file, or one scrambled with another key, gives a whole table.
    HighScoreTable table;
    for (int points : kFull)
        table.insert(0, points, "Player " + std::to_string(points));
    ASSERT_TRUE(table.saveFile("data/top7.tbl"));
    const std::string whole = TempDir::readFile("data/top7.tbl");
    TempDir::writeFile("data/half.tbl", whole.substr(0, whole.size() / 2));
    KeyValueFile plain;
    table.save(plain);
    ASSERT_TRUE(plain.save("data/otherkey.tbl", "not the key", 11));
    for (const char* path : {"data/half.tbl", "data/otherkey.tbl"}) {
        HighScoreTable again;
        again.loadFile(path);
        for (int p = 0; p < again.pageCount(); ++p) {
            for (int r = 0; r < HighScoreTable::kRows; ++r) {
                EXPECT_FALSE(again.entry(p, r).name.empty()) << path;
                EXPECT_GE(again.entry(p, r).points, 0) << path;
            }
        }
    }
    HighScoreTable wrongKey;
    wrongKey.loadFile("data/otherkey.tbl");
    EXPECT_EQ(wrongKey.entry(0, 0).name, "Nemo");
}

TEST(HighScoreTable, SavedFileReadsBackWithTheScramblingKeyAndAwkwardNamesMadeSafe)
{
    TempDir dir;
    std::filesystem::create_directories("data");
    HighScoreTable table;
    table.insert(0, 1234, "Ada Lovelace");
    ASSERT_TRUE(table.saveFile("data/top7.tbl"));
    HighScoreTable again;
    again.loadFile("data/top7.tbl");
    EXPECT_EQ(again.entry(0, 0).name, "Ada Lovelace");
    EXPECT_EQ(again.entry(0, 0).points, 1234);
    KeyValueFile unscrambled;
    unscrambled.loadFromDisk("data/top7.tbl", true);
    EXPECT_FALSE(unscrambled.contains(HighScoreTable::nameKey(0, 0)));

    // Names the file syntax cannot hold are stored so that the table stays intact.
    table = HighScoreTable();
    table.insert(0, 300, "say \"hi\"");
    table.insert(0, 200, "a//b c");
    table.insert(0, 100, "\"");
    ASSERT_TRUE(table.saveFile("data/top7.tbl"));
    again.loadFile("data/top7.tbl");
    EXPECT_EQ(again.entry(0, 0).name, "say 'hi'");
    EXPECT_EQ(again.entry(0, 1).name, "a/\\b c");
    EXPECT_EQ(again.entry(0, 2).name, "'");
    EXPECT_EQ(pointsOf(again), (std::vector<int>{300, 200, 100, 0, 0, 0, 0}));
    for (int r = 3; r < HighScoreTable::kRows; ++r)
        EXPECT_EQ(again.entry(0, r).name, "Nemo");
}

TEST(HighScoreTable, AHandEditedUnsortedPageIsKeptAsItIs)
{
    HighScoreTable table = tableWith({5, 50, 500, 0, 0, 0, 1});
    EXPECT_EQ(pointsOf(table), (std::vector<int>{5, 50, 500, 0, 0, 0, 1}));
    table.insert(0, 10, "x");
    EXPECT_EQ(pointsOf(table), (std::vector<int>{5, 50, 500, 10, 0, 0, 0}));
}

TEST(HighScoreTable, NamesAreUtf8AnAsciiTableResavesUnchangedAndInvalidBytesAreDropped)
{
    TempDir dir;
    std::filesystem::create_directories("data");
    HighScoreTable table;
    table.insert(0, 700, "Zo\xc3\xab \xc5\x81ukasz");
    table.insert(0, 600, "Ada");
    ASSERT_TRUE(table.saveFile("data/top7.tbl"));
    HighScoreTable again;
    again.loadFile("data/top7.tbl");
    EXPECT_EQ(again.entry(0, 0).name, "Zo\xc3\xab \xc5\x81ukasz");

    HighScoreTable ascii = tableWith(kFull);
    ASSERT_TRUE(ascii.saveFile("data/ascii.tbl"));
    again.loadFile("data/ascii.tbl");
    ASSERT_TRUE(again.saveFile("data/resaved.tbl"));
    EXPECT_EQ(TempDir::readFile("data/resaved.tbl"), TempDir::readFile("data/ascii.tbl"));

    // A Latin-1 "ë", a cut character and a stray continuation byte.
    KeyValueFile damaged;
    damaged.setString(HighScoreTable::nameKey(0, 0), "Zo\xeb \xc5\x81u\xc5");
    damaged.setString(HighScoreTable::nameKey(0, 1), "\x80\xbf");
    again.load(damaged);
    EXPECT_EQ(again.entry(0, 0).name, "Zo \xc5\x81u");
    EXPECT_EQ(again.entry(0, 1).name, "");
}
