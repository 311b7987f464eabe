// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/GameRun.h"

#include "board/Field.h"
#include "driver/BoardWaits.h"
#include "game/GameWindow.h"
#include "objects/ArtSet.h"
#include "objects/Texture.h"
#include "screens/LevelChoiceScreen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Each pixel the mean of a 2 × 2 block of the larger picture.
Screenshot halved(const Screenshot& large)
{
    Screenshot half;
    half.width = large.width / 2;
    half.height = large.height / 2;
    half.rgb.resize(std::size_t(half.width) * half.height * 3);
    for (int y = 0; y < half.height; ++y)
        for (int x = 0; x < half.width; ++x) {
            const Rgb m = large.mean({2 * x, 2 * y, 2 * x + 2, 2 * y + 2});
            std::uint8_t* p = &half.rgb[(std::size_t(y) * half.width + x) * 3];
            p[0] = std::uint8_t(m.r);
            p[1] = std::uint8_t(m.g);
            p[2] = std::uint8_t(m.b);
        }
    return half;
}

// Twice the size, interpolated linearly between pixel centres, as a graphics
// card magnifies a picture.
Screenshot doubled(const Screenshot& small)
{
    Screenshot big;
    big.width = small.width * 2;
    big.height = small.height * 2;
    big.rgb.resize(std::size_t(big.width) * big.height * 3);
    auto channel = [&](int x, int y, int c) {
        x = std::clamp(x, 0, small.width - 1);
        y = std::clamp(y, 0, small.height - 1);
        return double(small.rgb[(std::size_t(y) * small.width + x) * 3 + c]);
    };
    for (int y = 0; y < big.height; ++y)
        for (int x = 0; x < big.width; ++x) {
            const double sx = (x + 0.5) / 2.0 - 0.5;
            const double sy = (y + 0.5) / 2.0 - 0.5;
            const int x0 = int(std::floor(sx));
            const int y0 = int(std::floor(sy));
            const double fx = sx - x0;
            const double fy = sy - y0;
            for (int c = 0; c < 3; ++c) {
                const double top = channel(x0, y0, c) * (1 - fx) + channel(x0 + 1, y0, c) * fx;
                const double bottom =
                    channel(x0, y0 + 1, c) * (1 - fx) + channel(x0 + 1, y0 + 1, c) * fx;
                big.rgb[(std::size_t(y) * big.width + x) * 3 + c] =
                    std::uint8_t(std::lround(top * (1 - fy) + bottom * fy));
            }
        }
    return big;
}

double luminance(const Screenshot& shot, int x, int y)
{
    const Rgb p = shot.at(x, y);
    return 0.299 * p.r + 0.587 * p.g + 0.114 * p.b;
}

// The mean squared step in brightness between neighbouring pixels: a soft
// edge spreads its step over several pixels and scores less than a sharp one.
double edgeEnergy(const Screenshot& shot)
{
    double sum = 0.0;
    for (int y = 0; y + 1 < shot.height; ++y)
        for (int x = 0; x + 1 < shot.width; ++x) {
            const double here = luminance(shot, x, y);
            const double dx = luminance(shot, x + 1, y) - here;
            const double dy = luminance(shot, x, y + 1) - here;
            sum += dx * dx + dy * dy;
        }
    return sum / (double(shot.width - 1) * (shot.height - 1));
}

// The mean difference of the three channels over the whole picture.
double meanDifference(const Screenshot& a, const Screenshot& b)
{
    double sum = 0.0;
    for (std::size_t i = 0; i < a.rgb.size() && i < b.rgb.size(); ++i)
        sum += std::abs(int(a.rgb[i]) - int(b.rgb[i]));
    return sum / double(a.rgb.size());
}

// The flowers' own animation may tip a block or two between two frames.
constexpr int kAnimatedBlocks = 2;

// 40 × 40 blocks of the logical screen whose mean colours differ noticeably:
// anything drawn in another place shows here.
int blocksThatDiffer(const Screenshot& a, const Screenshot& b)
{
    int differ = 0;
    for (int y = 0; y < 600; y += 40)
        for (int x = 0; x < 800; x += 40) {
            const Rgb p = a.mean({x, y, x + 40, y + 40});
            const Rgb q = b.mean({x, y, x + 40, y + 40});
            if (std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) > 24)
                ++differ;
        }
    return differ;
}

// The large picture shows the small one's layout, with sharper edges than the
// small one magnified.
void expectSameLayoutSharper(const Screenshot& small, const Screenshot& large)
{
    ASSERT_EQ(small.width, 800);
    ASSERT_EQ(small.height, 600);
    ASSERT_EQ(large.width, 1600);
    ASSERT_EQ(large.height, 1200);
    const Screenshot half = halved(large);
    EXPECT_LE(blocksThatDiffer(small, half), kAnimatedBlocks);
    EXPECT_LT(meanDifference(small, half), 6.0);
    const double fine = edgeEnergy(large);
    const double magnified = edgeEnergy(doubled(small));
    EXPECT_GT(fine, 1.8 * magnified) << "fine " << fine << ", magnified " << magnified;
}

// The main menu without its flying dragons, the pointer resting on the
// background, one frame drawn.
Screenshot stillMenu(GameRun& run, const std::string& name)
{
    Config::get().m_showDragons = false;
    EXPECT_EQ(run.front(), static_cast<Window*>(&run.main()));
    run.driver().moveTo(60, 300);
    run.driver().runFrames(1);
    run.shot(name);
    return run.driver().screenshot();
}

struct Place {
    float x, y, width, height;
    bool operator==(const Place&) const = default;
};

Place placeOf(const Control& control)
{
    return {control.x(), control.y(), control.width(), control.height()};
}

} // namespace

TEST(EndToEnd, AWindowOfTwiceTheSizeDrawsTheMenuFromTheFinePicturesInTheSameLayout)
{
    GameFolder folder;
    Screenshot small;
    Place button{};
    {
        GameRun run;
        REQUIRE_GAME(run);
        EXPECT_FALSE(ArtSet::fineInUse());
        small = stillMenu(run, "fine_menu_800x600");
        button = placeOf(run.main().button("m_game_btn"));
    }
    GameRun run(1600, 1200);
    REQUIRE_GAME(run);
    ASSERT_TRUE(ArtSet::hasFine()) << "data/data2x.pk is not in the game folder";
    EXPECT_TRUE(ArtSet::fineInUse());
    const Screenshot large = stillMenu(run, "fine_menu_1600x1200");
    EXPECT_EQ(placeOf(run.main().button("m_game_btn")), button);
    expectSameLayoutSharper(small, large);
}

TEST(EndToEnd, APlayScreenResizedPastOneAndAHalfTimesSwitchesPicturesAndBack)
{
    GameFolder folder;
    GameRun run;
    REQUIRE_GAME(run);
    ScriptedDriver& driver = run.driver();
    Config::get().m_showDragons = false;
    run.click(run.main().button("m_game_btn"));
    ASSERT_EQ(run.front(), run.main().levelChoice());
    run.click(run.main().levelChoice()->okButton());
    ASSERT_TRUE(driver.runUntil(
        [&] { return run.main().game() != nullptr && run.front() == run.main().game(); }));
    GameWindow& game = *run.main().game();
    ASSERT_TRUE(driver.runUntil([&] {
        return game.field() != nullptr && game.field()->state() != FieldState::Intro &&
               boardQuiet(*game.field());
    }));
    driver.moveTo(790, 590);
    driver.runFrames(1);
    run.shot("fine_play_800x600");
    const Screenshot small = driver.screenshot();

    // The resizes take as many frames as the X server needs; with the frame
    // clock held still the flowers stay where they were for the comparison.
    Application& application = Application::get();
    const std::uint32_t frameRate = application.targetFrameRate();
    application.setTargetFrameRate(0);
    const std::uint64_t context = Texture::contextGeneration();
    ASSERT_TRUE(driver.resizeFromOutside(1600, 1200));
    driver.moveTo(790, 590);
    driver.runFrames(1);
    EXPECT_TRUE(ArtSet::fineInUse());
    // The context stays, and with it the names others hold (the kept background).
    EXPECT_EQ(Texture::contextGeneration(), context);
    run.shot("fine_play_1600x1200");
    expectSameLayoutSharper(small, driver.screenshot());

    ASSERT_TRUE(driver.resizeFromOutside(800, 600));
    driver.moveTo(790, 590);
    driver.runFrames(1);
    EXPECT_FALSE(ArtSet::fineInUse());
    run.shot("fine_play_back_800x600");
    const Screenshot back = driver.screenshot();
    application.setTargetFrameRate(frameRate);
    EXPECT_LE(blocksThatDiffer(small, back), kAnimatedBlocks);
    EXPECT_LT(meanDifference(small, back), 3.0);
}
