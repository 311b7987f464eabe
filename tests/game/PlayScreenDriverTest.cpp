// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelPlay.h"
#include "PlayScreenFixture.h"
#include "PlayTestSupport.h"
#include "app/Application.h"
#include "app/Config.h"
#include "board/Field.h"
#include "board/LevelFile.h"
#include "driver/BoardWaits.h"
#include "driver/ScriptedDriver.h"
#include "effects/EffectDrawing.h"
#include "effects/ParticleSystem.h"
#include "effects/Picker.h"
#include "game/GameWindow.h"
#include "ui/Button.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <functional>

namespace {

class PreviewScreen : public Window {
public:
    PreviewScreen(const PlayArt& art, int level)
        : m_renderer(art), m_field(LevelFile::load(level), level, false, 1, m_events)
    {
    }
    void render() override
    {
        Application& app = Application::get();
        app.camera().set2DView(float(app.clientWidth()), float(app.clientHeight()), false);
        glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        m_renderer.drawPreview(m_field);
    }

private:
    BoardRenderer m_renderer;
    FieldListener m_events;
    Field m_field;
};

// Points over plain white, as they rise over a burst's flash.
class FlashScreen : public Window {
public:
    explicit FlashScreen(const PlayArt& art) : m_art(art) {}
    void render() override
    {
        Application& app = Application::get();
        app.camera().set2DView(float(app.clientWidth()), float(app.clientHeight()), false);
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        EffectDrawing::drawTexts(ParticleSystem::get(), *m_art.font);
    }

private:
    const PlayArt& m_art;
};

class PlayScreenDriverTest : public PlayScreenFixture {};

bool reddish(Rgb p)
{
    return p.r > 180 && p.g < 120 && p.b < 120;
}
bool nearWhite(Rgb p)
{
    return p.r > 220 && p.g > 220 && p.b > 220;
}
bool dark(Rgb p)
{
    return p.r < 90 && p.g < 90 && p.b < 90;
}

constexpr PixelRect kScoreArea{45, 14, 125, 42};
constexpr PixelRect kTitleArea{220, 200, 580, 244};

TEST_F(PlayScreenDriverTest, MovesWithTheMouseBurstARowAndScoreAndTheMenuButtonLeaves)
{
    startGame(1);
    Field& field = emptyBoard();
    const int m = field.middleRow();
    // Columns from the first cell of each row: leading holes centre the board.
    int k = 0;
    while (!field.isCell(m, k))
        ++k;
    field.placeFlower(m, k, 2).makeIdle();
    field.placeFlower(m, k + 1, 2).makeIdle();
    field.placeFlower(m - 2, k + 3, 2).makeIdle();
    field.placeFlower(m + 2, k + 3, 4).makeIdle();
    driver.runFrames(2);
    shot("board");
    EXPECT_GT(driver.countPixels(kScoreArea, nearWhite), 10) << "the score is drawn";
    const auto scoreBefore = region(kScoreArea);

    // Right click cancels a pick.
    clickCell(m + 2, k + 3);
    EXPECT_TRUE(game->picker()->isCarrying());
    clickCell(m + 2, k + 3, MouseButton::Right);
    EXPECT_FALSE(game->picker()->isCarrying());
    EXPECT_FALSE(field.isSelectedAt(m + 2, k + 3));

    // Drag and drop a flower away, then click and click the third into the row.
    const Vec4 from = field.cellCentre(m + 2, k + 3);
    const Vec4 to = field.cellCentre(m + 2, k);
    driver.moveTo(int(from.x), int(from.y));
    driver.press();
    driver.runFrames(2);
    driver.moveTo(int(to.x), int(to.y));
    driver.runFrames(2);
    shot("carried");
    EXPECT_EQ(game->picker()->carriedPosition().x, to.x) << "the carried copy follows the pointer";
    driver.release();
    ASSERT_TRUE(driver.runUntil([&] { return field.flowerAt(m + 2, k) && boardQuiet(field); }));
    EXPECT_EQ(field.flowerAt(m + 2, k)->colour(), 4);

    const int scoreAtStart = field.score();
    clickCell(m - 2, k + 3);
    clickCell(m, k + 2);
    driver.runFrames(8);
    shot("travelling");
    EXPECT_TRUE(driver.runUntil([&] { return field.flowerAt(m, k) == nullptr; }));
    shot("burst");
    EXPECT_GT(field.score(), scoreAtStart);
    EXPECT_EQ(field.statistics().m_statBallsExploded, 3);
    driver.runFrames(60);
    EXPECT_NE(region(kScoreArea), scoreBefore) << "the new score is shown";
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), 107), sounds.end());

    const Button& button = game->mainMenuButton();
    driver.click(int(button.x() + button.width() / 2), int(button.y() + button.height() / 2));
    driver.runFrames(2);
    EXPECT_EQ(driver.app().frontScreen(), &base) << "the menu button leaves the board";
}

TEST_F(PlayScreenDriverTest, PointsStayReadableOnTheWhiteOfABurst)
{
    ParticleSystem::create();
    ParticleSystem::get().showText("120", {400.0f, 300.0f, 0.0f, 1.0f}, 24.0f,
                                   {0.0f, 0.0f, 0.0f, 1.0f}, {1.0f, 1.0f, 1.0f, 1.0f});
    FlashScreen flash(art->art());
    driver.show(flash);
    driver.runFrames(1);
    shot("points_on_white");
    EXPECT_GT(driver.countPixels({340, 270, 460, 330}, dark), 40)
        << "white points need their outline";
}

struct Shade {
    double r = 0, g = 0, b = 0;
    double chroma() const { return std::max({r, g, b}) - std::min({r, g, b}); }
    // CIE L*a*b* under D65.
    std::array<double, 3> lab() const
    {
        auto linear = [](double c) {
            c /= 255.0;
            return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        const double lr = linear(r), lg = linear(g), lb = linear(b);
        const double x = (0.4124 * lr + 0.3576 * lg + 0.1805 * lb) / 0.95047;
        const double y = 0.2126 * lr + 0.7152 * lg + 0.0722 * lb;
        const double z = (0.0193 * lr + 0.1192 * lg + 0.9505 * lb) / 1.08883;
        auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116.0; };
        return {116.0 * f(y) - 16.0, 500.0 * (f(x) - f(y)), 200.0 * (f(y) - f(z))};
    }
};

// How far apart two shades look (CIE76 delta E; about 2 is just noticeable).
double difference(const Shade& a, const Shade& b)
{
    const auto la = a.lab(), lb = b.lab();
    return std::hypot(la[0] - lb[0], la[1] - lb[1], la[2] - lb[2]);
}

// The mean shades of a flower and of the cell beneath it, over the pixels
// the flower covers: those that differ from the same cell drawn empty.
std::pair<Shade, Shade> flowerAndCell(const std::vector<std::uint8_t>& withFlower,
                                      const std::vector<std::uint8_t>& empty, int width, Vec4 at)
{
    Shade flower, cell;
    int n = 0;
    for (int y = int(at.y) - 20; y < int(at.y) + 20; ++y)
        for (int x = int(at.x) - 20; x < int(at.x) + 20; ++x) {
            const std::size_t i = (std::size_t(y) * std::size_t(width) + std::size_t(x)) * 3;
            const int d = std::abs(withFlower[i] - empty[i]) +
                          std::abs(withFlower[i + 1] - empty[i + 1]) +
                          std::abs(withFlower[i + 2] - empty[i + 2]);
            if (d < 60)
                continue;
            flower.r += withFlower[i], flower.g += withFlower[i + 1], flower.b += withFlower[i + 2];
            cell.r += empty[i], cell.g += empty[i + 1], cell.b += empty[i + 2];
            ++n;
        }
    const double k = n > 0 ? 1.0 / n : 0.0;
    return {{flower.r * k, flower.g * k, flower.b * k}, {cell.r * k, cell.g * k, cell.b * k}};
}

TEST_F(PlayScreenDriverTest, FlowersStandOutOnClearedAndLockedCells)
{
    constexpr int kColours = 8; // the most a level uses
    constexpr int kClover = 3;
    startGame(5);
    Field& field = emptyBoard();
    std::vector<GridPos> cells;
    for (int r = 0; r < field.rows(); ++r)
        for (int c = 0; c < field.rowLength(r); ++c)
            if (field.cellBackAt(r, c))
                cells.push_back({r, c});
    ASSERT_GE(cells.size(), std::size_t(2 * kColours));
    for (int i = 0; i < 2 * kColours; ++i) {
        const GridPos p = cells[std::size_t(i)];
        field.cellBackAt(p.row, p.col)
            ->setType(i < kColours ? CellType::Cleared : CellType::Locked);
        field.placeFlower(p.row, p.col, i % kColours).makeIdle();
    }
    driver.runFrames(2);
    shot("flowers_on_cells");
    int width = 0, height = 0;
    const std::vector<std::uint8_t> withFlowers = driver.capture(width, height);
    emptyBoard();
    driver.runFrames(1);
    const std::vector<std::uint8_t> empty = driver.capture(width, height);
    for (int colour = 0; colour < kColours; ++colour) {
        const GridPos open = cells[std::size_t(colour)];
        const GridPos locked = cells[std::size_t(colour + kColours)];
        const auto [flower, cleared] =
            flowerAndCell(withFlowers, empty, width, field.cellCentre(open.row, open.col));
        const auto [underCrystal, lockedCell] =
            flowerAndCell(withFlowers, empty, width, field.cellCentre(locked.row, locked.col));
        EXPECT_GE(difference(flower, cleared), colour == kClover ? 45.0 : 25.0)
            << "colour " << colour << " on a cleared cell";
        EXPECT_GE(underCrystal.chroma(), 0.55 * flower.chroma())
            << "colour " << colour << " keeps its colour under the crystal";
    }
}

TEST_F(PlayScreenDriverTest, WonLevelShowsTheResults)
{
    startGame(1);
    LevelPlay::clearBoard(*game->field());
    playUntilFinished();
    shot("results_won");
    EXPECT_GT(driver.countPixels(kTitleArea, reddish), 200) << "\"Level completed!\" in red";
}

TEST_F(PlayScreenDriverTest, PreviewDrawsTheSmallBoard)
{
    PreviewScreen preview(art->art(), 5);
    driver.show(preview);
    driver.runFrames(2);
    shot("preview");
    EXPECT_LT(driver.countPixels({0, 0, 800, 600}, nearWhite), 800 * 600 / 2) << "background drawn";
}

} // namespace
