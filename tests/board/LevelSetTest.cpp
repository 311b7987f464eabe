// The hundred level files in the built pack: their exact format, their place
// on the screen and the difficulty curve they follow.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "board/Field.h"
#include "board/LevelFile.h"
#include "utils/FilePack.h"

namespace {
constexpr int kLevels = 100;

struct Box {
    const char* name;
    float left, top, right, bottom;
    bool overlaps(float l, float t, float r, float b) const {
        return l < right && left < r && t < bottom && top < b;
    }
};

// What the play screen draws around the board: the score, lives and level
// numbers (size 24, centred on their x, generous for long numbers), the
// dynamite gauge with its counter, and the main-menu button.
constexpr std::array<Box, 5> kDisplays{{
    {"score", 15.0f, 10.0f, 155.0f, 48.0f},
    {"lives", 35.0f, 60.0f, 95.0f, 98.0f},
    {"level", 20.0f, 110.0f, 90.0f, 148.0f},
    {"dynamite", 660.0f, 20.0f, 788.0f, 148.0f},
    {"main menu button", 14.0f, 548.0f, 142.0f, 588.0f},
}};
// A flower grows to 1.5 times its 32 units while it appears.
constexpr float kFlowerReach = 24.0f;

struct Level {
    LevelFile file;
    std::string bytes;
};

class LevelSet : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        FilePack* pack = getPack("main") ? getPack("main") : createPack("main");
        pack->setKey(kMainPackKey);
        ASSERT_TRUE(pack->load(VM_GAME_DIR "/data/data.pk"));
        for (int level = 1; level <= kLevels; ++level) {
            const auto entry = pack->findFile(LevelFile::fileName(level));
            ASSERT_TRUE(entry) << LevelFile::fileName(level);
            s_levels.push_back({LevelFile::load(level), std::string(entry->chars(), entry->data.size())});
        }
    }
    static void TearDownTestSuite() { destroyPack("main"); }

    static const Level& level(int n) { return s_levels[static_cast<std::size_t>(n - 1)]; }
    static int count(const LevelFile& f, char ch) {
        return static_cast<int>(std::count(f.layout.begin(), f.layout.end(), ch));
    }
    static int cells(const LevelFile& f) {
        return static_cast<int>(f.layout.size()) - count(f, '.');
    }
    static int flowersPerTurn(const LevelFile& f) {
        return static_cast<int>(static_cast<double>(cells(f)) / 100.0 * f.newFlowerPercent);
    }

    static std::vector<Level> s_levels;
};
std::vector<Level> LevelSet::s_levels;
} // namespace

TEST_F(LevelSet, NumbersEndInCarriageReturnLineFeedAndTheLayoutHasNoSeparators) {
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

TEST_F(LevelSet, BoardsStayOnTheScreenAndClearOfTheDisplays) {
    for (int n = 1; n <= kLevels; ++n) {
        Field field(level(n).file, n, true, 1);
        for (int r = 0; r < field.rows(); ++r) {
            for (int c = 0; c < field.rowLength(r); ++c) {
                if (!field.isCell(r, c))
                    continue;
                const Vec4 p = field.cellCentre(r, c);
                const float l = p.x - kFlowerReach, t = p.y - kFlowerReach;
                const float rt = p.x + kFlowerReach, b = p.y + kFlowerReach;
                EXPECT_TRUE(l >= 0.0f && t >= 0.0f && rt <= 800.0f && b <= 600.0f)
                    << "level " << n << " cell " << r << "," << c;
                for (const Box& box : kDisplays)
                    EXPECT_FALSE(box.overlaps(l, t, rt, b))
                        << "level " << n << " cell " << r << "," << c << " covers the " << box.name;
            }
        }
    }
}

TEST_F(LevelSet, EveryLevelBuildsAPlayableBoard) {
    for (int n = 1; n <= kLevels; ++n) {
        Field field(level(n).file, n, true, 3);
        EXPECT_EQ(field.invariantFault(), "") << "level " << n;
        EXPECT_GT(static_cast<int>(field.newCells().size()), 0) << "level " << n;
        EXPECT_GT(field.cellCount(), 0) << "level " << n;
    }
}

TEST_F(LevelSet, DifficultyRisesWithTheLevel) {
    int lockedLevels = 0;
    for (int n = 1; n <= kLevels; ++n) {
        const LevelFile& f = level(n).file;
        if (n < 10) {
            EXPECT_EQ(count(f, '4'), 0) << "locked cells before level 10, level " << n;
        }
        lockedLevels += n >= 20 && count(f, '4') > 0;
        if (n == 1)
            continue;
        const LevelFile& p = level(n - 1).file;
        EXPECT_GE(f.numColours, p.numColours) << "level " << n;
        EXPECT_LE(f.wildcardPercent, p.wildcardPercent) << "level " << n;
        // Holes take a cell or two, so neighbours may differ by one flower.
        if (n > 10) {
            EXPECT_GE(flowersPerTurn(f), flowersPerTurn(level(n - 10).file)) << "level " << n;
        }
        EXPECT_GE(f.positionCount(), p.positionCount()) << "level " << n;
    }
    EXPECT_GE(lockedLevels, 75) << "most levels from 20 on have locked cells";
    const LevelFile& first = level(1).file;
    const LevelFile& last = level(kLevels).file;
    EXPECT_GT(last.numColours, first.numColours);
    EXPECT_GT(last.positionCount(), first.positionCount());
    EXPECT_GT(flowersPerTurn(last), flowersPerTurn(first));
    EXPECT_LT(last.wildcardPercent, first.wildcardPercent);
    EXPECT_GT(count(level(50).file, '.'), 0) << "middle levels have holes";
}
