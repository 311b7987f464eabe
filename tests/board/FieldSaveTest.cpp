// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/BoardBuilder.h"
#include "board/Field.h"
#include "utils/KeyValueFile.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// A 5-row hexagon with a hole in its middle and one cell of every kind.
LevelFile levelWithHole()
{
    LevelFile file = levelFor({.fill = 30, .newFlowers = 10});
    file.layout.replace(1, 3, "124");
    file.layout[9] = ' ';
    return file;
}

std::unique_ptr<Field> makeBoard(unsigned seed = 7)
{
    return std::make_unique<Field>(levelWithHole(), 4, true, seed, unwatched());
}

std::vector<std::string> tokens(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string t; in >> t;)
        out.push_back(t);
    return out;
}

KeyValueFile savedOf(const Field& field)
{
    KeyValueFile file;
    field.save(file);
    return file;
}

} // namespace

TEST(FieldSave, WritesEveryPositionHolesAsMinusOneAndOnlyCellsInTheTypes)
{
    auto field = makeBoard();
    field->placeFlower(0, 0, 3);
    const KeyValueFile file = savedOf(*field);
    const std::string flowers = file.getString("field.field", "");
    const auto flowerTokens = tokens(flowers);
    ASSERT_EQ(flowerTokens.size(), std::size_t(levelWithHole().positionCount()));
    EXPECT_EQ(flowers.back(), ' ');
    EXPECT_EQ(flowerTokens[0], "3");
    EXPECT_EQ(flowerTokens[9], "-1");
    const auto types = tokens(file.getString("field.cellBacks", ""));
    ASSERT_EQ(types.size(), std::size_t(field->cellCount()));
    EXPECT_EQ(types[1], "1");
    EXPECT_EQ(types[2], "3");
    EXPECT_EQ(types[3], "4");
    EXPECT_EQ(tokens(file.getString("field.newCells", "")).size(), field->newCells().size() * 3);
    for (const char* key : {"field.score", "field.m_statScoreOnLevel", "field.m_statBallsExploded",
                            "field.m_statTimeOnLevel", "field.m_statTimeBonus",
                            "field.m_statChains", "field.m_statChainBonus"})
        EXPECT_TRUE(file.contains(key)) << key;
}

TEST(FieldSave, ABoardComesBackWithItsFlowersCellsAnnouncedFlowersAndScore)
{
    auto original = makeBoard(7);
    original->setScore(4321);
    Field::Statistics stats;
    stats.m_statScoreOnLevel = 11;
    stats.m_statBallsExploded = 12;
    stats.m_statTimeOnLevel = 13;
    stats.m_statTimeBonus = 14;
    stats.m_statChains = 15;
    stats.m_statChainBonus = 16;
    original->setStatistics(stats);
    const KeyValueFile file = savedOf(*original);

    auto restored = makeBoard(99);
    ASSERT_TRUE(restored->load(file));
    EXPECT_EQ(restored->colourTable(), original->colourTable());
    for (int r = 0; r < original->rows(); ++r)
        for (int c = 0; c < original->rowLength(r); ++c) {
            if (original->isCell(r, c)) {
                EXPECT_EQ(restored->cellBackAt(r, c)->type(), original->cellBackAt(r, c)->type());
            }
        }
    ASSERT_EQ(restored->newCells().size(), original->newCells().size());
    for (std::size_t i = 0; i < original->newCells().size(); ++i)
        EXPECT_EQ(restored->newCells()[i]->colour(), original->newCells()[i]->colour());
    EXPECT_EQ(restored->score(), 4321);
    EXPECT_EQ(restored->statistics().m_statChains, 15);
    EXPECT_EQ(restored->statistics().m_statTimeOnLevel, 13);
    EXPECT_EQ(restored->statistics().m_statTimeBonus, 0);
    EXPECT_EQ(restored->statistics().m_statChainBonus, 0);
    EXPECT_EQ(restored->state(), FieldState::Intro);
    EXPECT_EQ(restored->invariantFault(), "");
}

TEST(FieldSave, AnEmptyAnnouncedListAnnouncesAfresh)
{
    auto original = makeBoard();
    KeyValueFile file = savedOf(*original);
    file.setString("field.newCells", "");
    auto restored = makeBoard(3);
    restored->clearAnnounced();
    ASSERT_TRUE(restored->load(file));
    EXPECT_FALSE(restored->newCells().empty());
}

TEST(FieldSave, RecordsThatDoNotFitTheBoardAreRejectedWholeAndChangeNothing)
{
    auto original = makeBoard();
    const KeyValueFile good = savedOf(*original);
    const std::string flowers = good.getString("field.field", "");
    const std::string types = good.getString("field.cellBacks", "");
    struct Case {
        const char* what;
        const char* key;
        std::string value;
    };
    const std::vector<Case> cases = {
        {"empty flowers", "field.field", ""},
        {"empty types", "field.cellBacks", ""},
        {"flowers short by one", "field.field", flowers.substr(0, flowers.size() - 3)},
        {"one flower too many", "field.field", flowers + "1 "},
        {"types short by one", "field.cellBacks", types.substr(0, types.size() - 2)},
        {"one type too many", "field.cellBacks", types + "0 "},
        {"a word among the flowers", "field.field", "x" + flowers.substr(1)},
        {"a number glued to letters", "field.cellBacks", "0abc" + types.substr(1)},
        {"a colour that does not exist", "field.field", "9" + flowers.substr(flowers.find(' '))},
        {"a cell type that does not exist", "field.cellBacks", "2" + types.substr(1)},
        {"a flower on the hole", "field.field",
         [&] {
             auto t = tokens(flowers);
             t[9] = "1";
             std::string s;
             for (auto& x : t)
                 s += x + ' ';
             return s;
         }()},
        {"an announced triple cut short", "field.newCells", "60 300"},
        {"an announced colour that does not exist", "field.newCells", "60 300 7 "},
        {"a huge number", "field.field",
         "99999999999999999999" + flowers.substr(flowers.find(' '))},
    };
    for (const Case& c : cases) {
        KeyValueFile broken = good;
        broken.setString(c.key, c.value);
        auto field = makeBoard(5);
        const auto before = field->colourTable();
        const int announced = int(field->newCells().size());
        EXPECT_FALSE(field->load(broken)) << c.what;
        EXPECT_EQ(field->colourTable(), before) << c.what;
        EXPECT_EQ(int(field->newCells().size()), announced) << c.what;
    }
}

TEST(FieldSave, WildcardsAndBlanksAroundTokensAreAccepted)
{
    auto original = makeBoard();
    original->removeFlower(0, 0);
    original->placeFlower(0, 0, kBombFlower);
    KeyValueFile file = savedOf(*original);
    file.setString("field.newCells", "  60 300 13   ");
    auto restored = makeBoard(2);
    ASSERT_TRUE(restored->load(file));
    EXPECT_EQ(restored->colourAt(0, 0), kBombFlower);
    ASSERT_EQ(restored->newCells().size(), 1u);
    EXPECT_EQ(restored->newCells()[0]->colour(), kWildcard);
}

namespace {

void idleRow(Field& field, const std::vector<GridPos>& cells, int colour)
{
    for (const GridPos& p : cells)
        field.placeFlower(p.row, p.col, colour).makeIdle();
}

void runUntilIdle(Field& field)
{
    for (int i = 0; i < 2000 && field.state() != FieldState::Idle; ++i)
        field.update(16.0f);
    for (int i = 0; i < 100; ++i)
        field.update(16.0f);
}

} // namespace

// The program closed while a row was bursting: its points are in the score,
// so the row must not come back to burst and score again.
TEST(FieldSave, ARowSavedWhileBurstingComesBackBurstAndScoresOnce)
{
    auto original = makeField();
    original->setScore(5000);
    idleRow(*original, {{2, 0}, {2, 1}, {2, 2}}, 1);
    idleRow(*original, {{0, 0}, {1, 1}, {3, 1}}, 2);
    original->update(16.0f);
    ASSERT_EQ(original->score(), 5036);
    ASSERT_EQ(original->flowerAt(2, 1)->state(), FlowerState::Exploding);
    const KeyValueFile file = savedOf(*original);
    EXPECT_EQ(file.getInt("field.score", 0), 5036);

    auto restored = makeField();
    ASSERT_TRUE(restored->load(file));
    runUntilIdle(*restored);
    EXPECT_EQ(restored->score(), 5036);
    for (GridPos p : {GridPos{2, 0}, GridPos{2, 1}, GridPos{2, 2}}) {
        EXPECT_EQ(restored->flowerAt(p.row, p.col), nullptr);
        EXPECT_EQ(restored->cellBackAt(p.row, p.col)->type(), CellType::HalfCleared);
    }
    EXPECT_EQ(restored->colourAt(1, 1), 2) << "flowers at rest come back whole";
    EXPECT_EQ(restored->cellBackAt(1, 1)->type(), CellType::Raw);
}

TEST(FieldSave, ARowOfFourSavedWhileBurstingLeavesItsColourBomb)
{
    auto original = makeField();
    idleRow(*original, {{2, 0}, {2, 1}, {2, 2}, {2, 3}}, 1);
    original->flowerAt(2, 3)->setMovedLast(true);
    original->update(16.0f);
    ASSERT_EQ(original->score(), 10 + 12 + 14 + 16);
    auto restored = makeField();
    ASSERT_TRUE(restored->load(savedOf(*original)));
    runUntilIdle(*restored);
    EXPECT_EQ(restored->score(), 52);
    EXPECT_EQ(restored->colourAt(2, 3), kBombFlower);
    EXPECT_EQ(restored->colourAt(2, 0), kNoColour);
}

// A lost level's sweep is no burst: its board comes back full and is lost again.
TEST(FieldSave, TheExitSweepKeepsItsFlowersWhole)
{
    auto original = makeField();
    for (int r = 0; r < original->rows(); ++r)
        for (int c = 0; c < original->rowLength(r); ++c)
            original->placeFlower(r, c, (r * 3 + c) % 5).makeIdle();
    for (int i = 0; i < 2000 && !original->finished(); ++i)
        original->update(16.0f);
    ASSERT_FALSE(original->succeeded());
    original->onClick(400.0f, 300.0f);
    original->update(16.0f);
    const KeyValueFile file = savedOf(*original);
    auto restored = makeField();
    ASSERT_TRUE(restored->load(file));
    EXPECT_EQ(restored->colourTable(), original->colourTable());
    EXPECT_EQ(restored->cellBackAt(2, 2)->type(), CellType::Raw);
}

// A flower that walks into a row bursts it when its walk is cut short.
TEST(FieldSave, AWalkCutShortStillBurstsTheRowItCompletes)
{
    auto field = makeField();
    idleRow(*field, {{2, 0}, {2, 1}, {0, 0}}, 1);
    runUntilIdle(*field);
    ASSERT_GE(field->selectAt(0, 0), 0);
    ASSERT_TRUE(field->moveSelectedTo(2, 2));
    field->finishWalk();
    const KeyValueFile burst = savedOf(*field);
    EXPECT_EQ(burst.getInt("field.score", 0), 10 + 12 + 14);
    auto restored = makeField();
    ASSERT_TRUE(restored->load(burst));
    EXPECT_EQ(restored->colourAt(2, 2), kNoColour);
    EXPECT_EQ(restored->cellBackAt(2, 1)->type(), CellType::HalfCleared);
}
