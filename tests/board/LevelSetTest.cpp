// SPDX-License-Identifier: GPL-3.0-or-later
// The hundred level files in the built pack: their exact format, their place
// on the screen and the difficulty curve they follow.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "BoardBuilder.h"
#include "LevelDesign.h"
#include "board/Field.h"
#include "board/LevelFile.h"
#include "board/LevelSet.h"
#include "game/HudLayout.h"
#include "utils/FilePack.h"

namespace {
constexpr int kLevels = 100;

// What the play screen shows around the board: the plaques of the numbers
// and of the dynamite gauge with its label, and the main-menu button.
const std::pair<const char*, HudLayout::Box> kDisplays[] = {
    {"score", HudLayout::kScore},
    {"lives", HudLayout::kLives},
    {"level", HudLayout::kLevel},
    {"cells to clear", HudLayout::kToClear},
    {"dynamite", HudLayout::kGauge},
    {"streak label", HudLayout::kStreakLabel},
    {"main menu button", {14.0f, 548.0f, 142.0f, 588.0f}}};
// A flower grows to 1.5 times its 32 units while it appears.
constexpr float kFlowerReach = 24.0f;

struct Level {
    LevelFile file;
    std::string bytes;
};

class LevelSet : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        FilePack* pack = packExists("main") ? &getPack("main") : &createPack("main");
        pack->setKey(kMainPackKey);
        ASSERT_TRUE(pack->load(VM_GAME_DIR "/data/data.pk"));
        for (int level = 1; level <= kLevels; ++level) {
            const auto entry = pack->findFile(LevelFile::fileName(level));
            ASSERT_TRUE(entry) << LevelFile::fileName(level);
            s_levels.push_back(
                {LevelFile::load(level), std::string(entry->chars(), entry->data.size())});
        }
    }
    static void TearDownTestSuite() { destroyPack("main"); }

    static const Level& level(int n) { return s_levels[static_cast<std::size_t>(n - 1)]; }
    static int count(const LevelFile& f, char ch)
    {
        return static_cast<int>(std::count(f.layout.begin(), f.layout.end(), ch));
    }
    static int cells(const LevelFile& f)
    {
        return static_cast<int>(f.layout.size()) - count(f, '.');
    }
    static int flowersPerTurn(const LevelFile& f)
    {
        return static_cast<int>(static_cast<double>(cells(f)) / 100.0 * f.newFlowerPercent);
    }
    // Explosions the board needs: two per raw cell, one per half-cleared, three per locked.
    static int work(const LevelFile& f)
    {
        return 2 * count(f, '0') + count(f, '1') + 3 * count(f, '4');
    }

    static std::vector<Level> s_levels;
};
std::vector<Level> LevelSet::s_levels;
} // namespace

TEST_F(LevelSet, NumbersEndInCarriageReturnLineFeedAndTheLayoutHasNoSeparators)
{
    for (int n = 1; n <= kLevels; ++n) {
        const Level& l = level(n);
        ASSERT_EQ(l.bytes, l.file.text()) << "level " << n;
        std::size_t at = 0;
        for (int i = 0; i < 6; ++i) {
            const std::size_t end = l.bytes.find("\r\n", at);
            ASSERT_NE(end, std::string::npos) << "level " << n;
            const std::string digits = l.bytes.substr(at, end - at);
            EXPECT_FALSE(digits.empty()) << "level " << n;
            EXPECT_EQ(digits.find_first_not_of("0123456789"), std::string::npos) << "level " << n;
            at = end + 2;
        }
        const std::string layout = l.bytes.substr(at);
        EXPECT_EQ(static_cast<int>(layout.size()), l.file.positionCount()) << "level " << n;
        EXPECT_EQ(layout.find_first_not_of("0124."), std::string::npos) << "level " << n;
        EXPECT_EQ(l.file.rows % 2, 1) << "level " << n;
        EXPECT_LE(l.file.numColours, LevelFile::kMaxColours) << "level " << n;
    }
}

TEST_F(LevelSet, BoardsAreCentredOnTheScreenAndClearOfTheDisplays)
{
    for (int n = 1; n <= kLevels; ++n) {
        Field field(level(n).file, n, true, 1, unwatched());
        float left = 800.0f, right = 0.0f, top = 600.0f, bottom = 0.0f;
        for (int r = 0; r < field.rows(); ++r) {
            for (int c = 0; c < field.rowLength(r); ++c) {
                if (!field.isCell(r, c))
                    continue;
                const Vec4 p = field.cellCentre(r, c);
                left = std::min(left, p.x);
                right = std::max(right, p.x);
                top = std::min(top, p.y);
                bottom = std::max(bottom, p.y);
                const float l = p.x - kFlowerReach, t = p.y - kFlowerReach;
                const float rt = p.x + kFlowerReach, b = p.y + kFlowerReach;
                EXPECT_TRUE(l >= 0.0f && t >= 0.0f && rt <= 800.0f && b <= 600.0f)
                    << "level " << n << " cell " << r << "," << c;
                for (const auto& [name, box] : kDisplays)
                    EXPECT_FALSE(box.overlaps({l, t, rt, b}))
                        << "level " << n << " cell " << r << "," << c << " covers the " << name;
            }
        }
        EXPECT_NEAR((left + right) / 2.0f, 400.0f, Field::kHalfWidth) << "level " << n;
        EXPECT_NEAR((top + bottom) / 2.0f, 300.0f, Field::kHalfWidth) << "level " << n;
    }
}

TEST_F(LevelSet, FilesFollowTheirDesignAndBuildPlayableBoards)
{
    for (int n = 1; n <= kLevels; ++n) {
        const LevelFile& f = level(n).file;
        const LevelDesign::Design d = LevelDesign::design(n);
        EXPECT_EQ(f.text(), LevelDesign::make(n).text()) << "level " << n;
        EXPECT_EQ(flowersPerTurn(f), d.flowersPerTurn) << "level " << n;
        Field field(f, n, true, 2, unwatched());
        EXPECT_EQ(static_cast<int>(field.newCells().size()), d.flowersPerTurn) << "level " << n;
        EXPECT_GT(d.flowersPerTurn, 0) << "level " << n;
        EXPECT_GT(field.cellCount(), 0) << "level " << n;
        EXPECT_EQ(field.invariantFault(), "") << "level " << n;
        // With few flowers at the start, bursting them all (and the 25000
        // points of an empty board) is luck; from five lines' worth on it takes a plan.
        EXPECT_GE(cells(f) * f.fillPercent / 100, 14) << "level " << n;
        EXPECT_EQ(f.numColours, d.colours) << "level " << n;
        EXPECT_EQ(f.fillPercent, d.fillPercent) << "level " << n;
        EXPECT_EQ(f.wildcardPercent, d.wildcardPercent) << "level " << n;
        EXPECT_EQ(f.rows, d.rows) << "level " << n;
        EXPECT_EQ(work(f), d.work) << "level " << n;
    }
}

TEST_F(LevelSet, DifficultyRisesAndTheDesignNeverEasesFromOneLevelToTheNext)
{
    for (int n = 2; n <= kLevels; ++n) {
        const LevelDesign::Design d = LevelDesign::design(n);
        const LevelDesign::Design p = LevelDesign::design(n - 1);
        EXPECT_GE(d.rows, p.rows) << "level " << n;
        EXPECT_GE(d.width, p.width) << "level " << n;
        EXPECT_GE(d.colours, p.colours) << "level " << n;
        EXPECT_GE(d.fillPercent, p.fillPercent) << "level " << n;
        EXPECT_GE(d.flowersPerTurn, p.flowersPerTurn) << "level " << n;
        EXPECT_GE(d.lockedPermille, p.lockedPermille) << "level " << n;
        EXPECT_GE(d.work, p.work) << "level " << n;
        // Except on a level that brings a colour or a flower more per turn,
        // which more wildcards soften (and the level they arrive on).
        const bool step = d.colours > p.colours || d.flowersPerTurn > p.flowersPerTurn;
        if (p.wildcardPercent > 0 && !step) {
            EXPECT_LE(d.wildcardPercent, p.wildcardPercent) << "level " << n;
        }
        EXPECT_LE(d.wildcardPercent, p.wildcardPercent + 10) << "level " << n;
        // A flower more per turn and a colour more never come on the same level.
        EXPECT_FALSE(d.flowersPerTurn > p.flowersPerTurn && d.colours > p.colours) << "level " << n;
    }
    int lockedLevels = 0;
    for (int n = 1; n <= kLevels; ++n) {
        if (n < 10) {
            EXPECT_EQ(count(level(n).file, '4'), 0) << "locked cells before level 10, level " << n;
        }
        lockedLevels += n >= 20 && count(level(n).file, '4') > 0;
    }
    EXPECT_GE(lockedLevels, 75) << "most levels from 20 on have locked cells";
    const LevelDesign::Design first = LevelDesign::design(1), last = LevelDesign::design(kLevels);
    EXPECT_LE(first.work, 37) << "the first level is short";
    EXPECT_GT(last.work, 4 * first.work);
    EXPECT_GT(last.colours, first.colours);
    EXPECT_EQ(first.wildcardPercent, 0);
    EXPECT_GT(last.wildcardPercent, 0);
}

// The first levels teach one thing each; a level that only asks for more of
// the same (a few more bursts) teaches nothing.
TEST_F(LevelSet, EachOfTheFirstTenLevelsBringsSomethingNew)
{
    const auto lesson = [](int n) {
        const LevelDesign::Design d = LevelDesign::design(n);
        const LevelFile& f = level(n).file;
        return std::array{d.rows,
                          d.width,
                          static_cast<int>(d.centreHole),
                          d.colours,
                          d.flowersPerTurn,
                          static_cast<int>(f.wildcardPercent > 0),
                          static_cast<int>(count(f, '4') > 0),
                          static_cast<int>(count(f, '0') > 0)};
    };
    for (int n = 2; n <= 10; ++n)
        EXPECT_NE(lesson(n), lesson(n - 1)) << "level " << n << " plays like level " << n - 1;
}

// A game saved on one level set must be told from one saved on another, so
// the levels and the set's version change together.
TEST_F(LevelSet, ChangedLevelsComeWithANewVersion)
{
    std::uint32_t h = 2166136261u;
    for (int n = 1; n <= kLevels; ++n)
        for (const char ch : level(n).bytes)
            h = (h ^ static_cast<unsigned char>(ch)) * 16777619u;
    EXPECT_EQ(kLevelSetVersion, 3);
    EXPECT_EQ(h, 0x4d1ff0eau) << std::hex << h << ": the levels changed; raise kLevelSetVersion"
                              << " in board/LevelSet.h and set both numbers here";
}
