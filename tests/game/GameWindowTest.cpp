// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/GameWindow.h"
#include "LevelPlay.h"
#include "PlayTestSupport.h"
#include "app/Config.h"
#include "board/Field.h"
#include "board/LevelSet.h"
#include "effects/HintOverlay.h"
#include "effects/ParticleSystem.h"
#include "game/GameProgress.h"
#include "game/HighScores.h"
#include "objects/Sprite.h"
#include "ui/Dialog.h"
#include "utils/KeyValueFile.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>

namespace {

// What the owner of the game hears, and the saved game at each report.
class ProgressLog : public GameProgress {
public:
    void gameProgressed(GameWindow& game) override
    {
        KeyValueFile file;
        game.save(file);
        levels.push_back(file.getInt("game.m_level", -1));
    }
    std::vector<int> levels;
};

// A table that takes every score, or none.
class FakeScores : public HighScores {
public:
    explicit FakeScores(bool takes) : m_takes(takes) {}
    bool qualifies(int, int score) const override
    {
        asked = score;
        return m_takes;
    }
    void insert(int, int score, const std::string& name) override
    {
        inserted.emplace_back(score, name);
    }
    std::unique_ptr<Dialog> createNameDialog(int) override { return nullptr; }
    std::string enteredName(const Dialog&) const override { return {}; }

    mutable int asked = -1;
    std::vector<std::pair<int, std::string>> inserted;

private:
    bool m_takes;
};

// The play screen without a display: rules, levels and lives, no drawing.
class GameWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mainPack();
        m_config.m_firstRun = false;
        m_config.m_hints = false;
    }
    void TearDown() override { ParticleSystem::destroy(); }

    // The game's own settings, apart from the process-wide ones.
    Config m_config;

    static void runIntro(GameWindow& game)
    {
        for (int i = 0; i < 2000 && game.field()->state() == FieldState::Intro; ++i)
            game.update(16.0f);
    }

    // Runs the exit sweep of a finished board until the screen has built the
    // next one. The new board may well reuse the old one's address, so the
    // change shows in its state: a fresh board is not finished.
    static void runExitSweep(GameWindow& game)
    {
        ASSERT_TRUE(game.field()->finished());
        game.field()->onClick(400.0f, 300.0f);
        for (int i = 0; i < 2000 && game.field()->finished(); ++i)
            game.update(16.0f);
        ASSERT_FALSE(game.field()->finished());
        EXPECT_EQ(game.field()->state(), FieldState::Intro);
    }

    // Plays until the board is finished, clicks through the panel and runs
    // the exit sweep until the screen has built the next board.
    static void endLevel(GameWindow& game, void (*edit)(Field&))
    {
        runIntro(game);
        edit(*game.field());
        for (int i = 0; i < 200 && !game.field()->finished(); ++i)
            game.update(16.0f);
        ASSERT_TRUE(game.field()->finished());
        for (int i = 0; i < 60; ++i)
            game.update(16.0f);
        runExitSweep(game);
    }
};

TEST_F(GameWindowTest, LostLevelsCostLivesAndTheFourthEndsTheGame)
{
    FakeScores scores(false);
    ProgressLog progress;
    GameWindow game(m_config, 2, &scores);
    game.setProgress(&progress);
    for (int lives = 2; lives >= 0; --lives) {
        endLevel(game, LevelPlay::fillBoard);
        EXPECT_EQ(game.lives(), lives);
        EXPECT_EQ(game.field()->level(), 2) << "a lost level is replayed";
        EXPECT_EQ(game.lastOutcome(), LevelOutcome::Replay);
        EXPECT_FALSE(game.isGameOver());
    }
    endLevel(game, LevelPlay::fillBoard);
    EXPECT_TRUE(game.isGameOver());
    EXPECT_EQ(game.lastOutcome(), LevelOutcome::GameOver);
    EXPECT_EQ(scores.asked, game.totalScore());
    EXPECT_EQ(progress.levels, (std::vector<int>{2, 2, 2, -1}))
        << "each replay is saved as it begins, and the ended game leaves nothing to continue";
}

// A level outside the set, or lives a game in progress cannot have, are
// refused; missing lives are the lives a game starts with.
TEST_F(GameWindowTest, SavedLevelsAndLivesOutsideAGameInProgressAreRejected)
{
    GameWindow playing(m_config, 2, nullptr);
    KeyValueFile file;
    playing.save(file);
    GameWindow restored(m_config, 1, nullptr);
    for (int level : {0, -1, GameWindow::kLastLevel + 1}) {
        KeyValueFile other = file;
        other.setInt("game.m_level", level);
        EXPECT_FALSE(restored.load(other)) << "level " << level;
    }
    for (int lives : {-1, GameWindow::kStartLives + 1}) {
        file.setInt("game.m_lives", lives);
        EXPECT_FALSE(restored.load(file)) << lives << " lives";
    }
    file.setInt("game.m_lives", 0);
    EXPECT_TRUE(restored.load(file));
    EXPECT_EQ(restored.lives(), 0);
    KeyValueFile noLives;
    for (const auto& [key, value] : file.entries())
        if (key != "game.m_lives")
            noLives.setString(key, value);
    ASSERT_TRUE(restored.load(noLives));
    EXPECT_EQ(restored.lives(), GameWindow::kStartLives);
}

// Written by earlier versions on their level sets: level 1, 2 lives, 1234 points.
TEST_F(GameWindowTest, AGameSavedOnOtherLevelDesignsGoesOnFromAFreshBoard)
{
    for (const char* fixture : {"saved-levelset1.dat", "saved-levelset2.dat"}) {
        SCOPED_TRACE(fixture);
        KeyValueFile file;
        ASSERT_TRUE(file.loadFromDisk(std::string(VM_SAVED_GAMES_DIR) + "/" + fixture, true,
                                      "tuvorkelm&!*", 12));
        GameWindow restored(m_config, 3, nullptr);
        ASSERT_TRUE(restored.load(file));
        EXPECT_EQ(restored.field()->level(), 1);
        EXPECT_EQ(restored.lives(), 2);
        EXPECT_EQ(restored.field()->score(), 1234);
        EXPECT_EQ(restored.field()->statistics().m_statScoreOnLevel, 0);
        EXPECT_EQ(restored.field()->invariantFault(), "");
        KeyValueFile now;
        restored.save(now);
        EXPECT_NE(now.getString("field.field", ""), file.getString("field.field", ""))
            << "a fresh board, even where the old one would fit";
    }
    // This version's record whose board was cut short: the level starts afresh too.
    GameWindow playing(m_config, 2, nullptr);
    playing.field()->setScore(77);
    KeyValueFile file;
    playing.save(file);
    EXPECT_EQ(file.getInt("game.m_levelSet", 0), kLevelSetVersion);
    file.setString("field.field", "0 1 2 ");
    GameWindow restored(m_config, 1, nullptr);
    ASSERT_TRUE(restored.load(file));
    EXPECT_EQ(restored.field()->level(), 2);
    EXPECT_EQ(restored.field()->score(), 77);
    file.setString("field.field", "");
    EXPECT_FALSE(restored.load(file)) << "no board saved, no game";
}

TEST_F(GameWindowTest, WonLevelCarriesScoreWithBonusesToTheNextAndUnlocksIt)
{
    m_config.m_level = 3;
    ProgressLog progress;
    GameWindow game(m_config, 7, nullptr);
    EXPECT_EQ(m_config.m_level, 7) << "a level begun for play is reached";
    game.setProgress(&progress);
    runIntro(game);
    game.field()->setScore(500);
    endLevel(game, LevelPlay::clearBoard);
    EXPECT_EQ(game.field()->level(), 8);
    EXPECT_EQ(m_config.m_level, 8);
    EXPECT_EQ(progress.levels, std::vector<int>{8}) << "saved as the next level begins";
    EXPECT_EQ(game.lives(), 3);
    EXPECT_EQ(game.lastOutcome(), LevelOutcome::NextLevel);
    EXPECT_GT(game.totalScore(), 500) << "time bonus added";
    EXPECT_EQ(game.field()->score(), game.totalScore());

    // A long, fast game: the time bonus grows with the running total, which
    // stops at the largest number.
    runIntro(game);
    game.field()->setScore(INT_MAX - 1000);
    endLevel(game, LevelPlay::clearBoard);
    EXPECT_EQ(game.lastOutcome(), LevelOutcome::NextLevel);
    EXPECT_EQ(game.totalScore(), INT_MAX);
    EXPECT_EQ(game.field()->score(), INT_MAX);
}

TEST_F(GameWindowTest, WinningTheLastLevelEndsTheGameWithItsBonuses)
{
    FakeScores scores(false);
    GameWindow game(m_config, GameWindow::kLastLevel, &scores);
    runIntro(game);
    Field* last = game.field();
    // The time bonus is the score over the time played: no score, no bonus.
    last->setScore(700);
    for (int i = 0; i < 30; ++i)
        game.update(16.0f);
    LevelPlay::clearBoard(*last);
    for (int i = 0; i < 10 && !last->finished(); ++i)
        game.update(16.0f);
    ASSERT_TRUE(last->succeeded());
    const int expected = last->score() + last->timeBonus() + last->chainBonus();
    EXPECT_GT(last->timeBonus(), 0);
    EXPECT_FALSE(game.isGameOver()) << "the game ends only after the results";
    runExitSweep(game);
    EXPECT_TRUE(game.isGameOver());
    EXPECT_EQ(game.lastOutcome(), LevelOutcome::GameOver);
    EXPECT_EQ(game.totalScore(), expected);
    EXPECT_EQ(scores.asked, expected);
    EXPECT_EQ(game.field()->level(), GameWindow::kLastLevel) << "the last board stays behind";
}

// Closing the program while a moved flower walks: the move stands with its
// turn, so the announced flowers are planted, not kept for a free move.
TEST_F(GameWindowTest, AGameSavedMidWalkKeepsTheMoveAndItsTurn)
{
    GameWindow game(m_config, 1, nullptr);
    runIntro(game);
    Field& field = *game.field();
    std::vector<GridPos> cells;
    for (int r = 0; r < field.rows(); ++r)
        for (int c = 0; c < field.rowLength(r); ++c) {
            field.removeFlower(r, c);
            if (field.isCell(r, c) && field.cellBackAt(r, c)->type() != CellType::Locked)
                cells.push_back({r, c});
        }
    ASSERT_GE(cells.size(), 3u);
    const GridPos from = cells.front(), to = cells.back(), announced = cells[1];
    field.clearAnnounced();
    field.placeFlower(from.row, from.col, 1).makeIdle();
    field.addAnnounced(field.cellCentre(announced.row, announced.col), 2);
    ASSERT_GE(field.selectAt(from.row, from.col), 0);
    ASSERT_TRUE(field.moveSelectedTo(to.row, to.col));
    game.update(16.0f);
    ASSERT_TRUE(field.flowerAt(to.row, to.col)->isMoving());
    KeyValueFile file;
    game.save(file);
    GameWindow restored(m_config, 1, nullptr);
    ASSERT_TRUE(restored.load(file));
    EXPECT_EQ(restored.field()->colourAt(to.row, to.col), 1);
    EXPECT_EQ(restored.field()->colourAt(from.row, from.col), kNoColour);
    EXPECT_EQ(restored.field()->colourAt(announced.row, announced.col), 2)
        << "the announced flower was planted";
}

TEST_F(GameWindowTest, OpenHintHoldsTheBoard)
{
    GameWindow game(m_config, 1, nullptr);
    runIntro(game);
    ASSERT_EQ(game.field()->state(), FieldState::Idle);
    game.update(16.0f);
    game.showHint(0);
    ASSERT_EQ(game.hints().size(), 1u);
    const int played = game.field()->statistics().m_statTimeOnLevel;
    const int idle = game.field()->idleTime();
    for (int i = 0; i < 100; ++i)
        game.update(16.0f);
    EXPECT_EQ(game.field()->statistics().m_statTimeOnLevel, played) << "no play time counted";
    EXPECT_EQ(game.field()->idleTime(), idle) << "the board's clock stands";

    game.hints().front()->dismiss();
    for (int i = 0; i < 100 && !game.hints().empty(); ++i)
        game.update(16.0f);
    ASSERT_TRUE(game.hints().empty()) << "a dismissed hint fades out and goes";
    game.update(16.0f);
    EXPECT_GT(game.field()->statistics().m_statTimeOnLevel, played) << "the board runs again";
}

TEST_F(GameWindowTest, SparklesTakeTheWholeParticleSheetAndAllFadeAway)
{
    LoadedArt loaded;
    const Sprite& sheet = *loaded.art().particles;
    ASSERT_GT(sheet.groups() * sheet.frames(), 1);
    GameWindow game(m_config, 1, nullptr, loaded.art());
    ParticleSystem& particles = ParticleSystem::get();
    particles.clear();
    particles.burst({400.0f, 300.0f, 0.0f, 1.0f}, 400);
    std::set<std::pair<int, int>> pictures;
    for (const auto& p : particles.particles())
        pictures.insert({p->group(), p->frame()});
    EXPECT_EQ(int(pictures.size()), sheet.groups() * sheet.frames());

    // Those of a long session all fade away.
    particles.clear();
    std::size_t peak = 0;
    // Ten minutes at 60 frames per second with a steady stream of sparkles.
    for (int frame = 0; frame < 36000; ++frame) {
        for (int i = 0; i < 40; ++i)
            particles.emit(4.0f, {400.0f, 300.0f, 0.0f, 1.0f}, {1.0f, 0.0f, 0.0f, 1.0f});
        if (frame % 100 == 0)
            particles.showText("100", {400.0f, 300.0f, 0.0f, 1.0f}, 24.0f, {}, {1, 1, 1, 1});
        game.update(16.0f);
        peak = std::max(peak, particles.particles().size());
    }
    // The slowest particle fades in 600 ms, 38 frames of 16 ms.
    EXPECT_LE(peak, 40u * 39u) << "no entry outlives its fade";
    for (int i = 0; i < 200; ++i)
        game.update(16.0f);
    EXPECT_TRUE(particles.particles().empty());
    EXPECT_TRUE(particles.texts().empty());
}

} // namespace
