// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "board/BoardShake.h"
#include "board/CellBack.h"
#include "board/Effect.h"
#include "board/FieldListener.h"
#include "board/Flower.h"
#include "board/HexGrid.h"
#include "board/Insect.h"
#include "board/LevelFile.h"
#include "board/PathPoint.h"
#include "board/Vec4.h"

class KeyValueFile;

enum class FieldState { Idle = 0, Placing = 1, Intro = 2, Finished = 3 };
enum class AwardSize { Normal, Big };

// The board of one level: cells, flowers, moves, bursts, the turn cycle,
// insects and the end of the level. Driven by update(dt) and the clicks the
// play screen forwards; draws and plays nothing itself, but tells its
// listener what happens.
class Field {
public:
    static constexpr int kMaxSize = LevelFile::kMaxSize;
    static constexpr float kCellWidth = 40.0f;
    static constexpr float kHalfWidth = 20.0f;
    static constexpr float kOriginX = 40.0f;
    static constexpr float kOriginY = 300.0f;
    static const float kRowHeight;
    // How long a board on which nothing can move stays before it goes on (ms).
    static constexpr float kStallPause = 1000.0f;

    struct Statistics {
        int m_statScoreOnLevel = 0;
        int m_statBallsExploded = 0;
        int m_statTimeOnLevel = 0;
        int m_statTimeBonus = 0;
        int m_statChains = 0;
        int m_statChainBonus = 0;
    };

    // Seeds rand. events (not owned) hears of every sound, spark and text.
    Field(const LevelFile& file, int level, bool realGame, std::uint32_t seed,
          FieldListener& events);
    ~Field();
    Field(const Field&) = delete;
    Field& operator=(const Field&) = delete;

    // Geometry.
    int rows() const { return m_H; }
    int width() const { return m_W; }
    int rowLength(int r) const { return rowLengthOf(r, m_H, m_W); }
    int middleRow() const { return m_H / 2; }
    bool isCell(int r, int c) const;
    bool isCell(GridPos p) const { return isCell(p.row, p.col); }
    Flower* flowerAt(int r, int c) const;
    CellBack* cellBackAt(int r, int c) const;
    PathPoint* pathPointAt(int r, int c) const;
    int colourAt(int r, int c) const;
    Vec4 cellCentre(int r, int c) const;
    int rowAt(float y) const;
    int colAt(float x, float y) const;
    int colInRow(float x, int row) const;
    GridPos cellUnder(const Vec4& point) const { return {rowAt(point.y), colAt(point.x, point.y)}; }
    int cellCount() const { return m_cellCount; }

    // Moves.
    int selectAt(int r, int c);
    bool moveSelectedTo(int r, int c);
    bool isSelectedAt(int r, int c) const;
    bool hasSelection() const;
    // Some flower the player may pick can step onto a free cell.
    bool anyMovePossible() const;
    void deselectAll();
    // The picker calls it every frame with the mouse position.
    void previewPath(const Vec4& mouse);
    bool findPath(int fromR, int fromC, int toR, int toC, std::vector<GridPos>& path) const;

    // Lines and scoring.
    void findLines();
    bool wouldFormLine(int r, int c, int colour);
    void award(int points, const Vec4& position, AwardSize size = AwardSize::Normal);
    void removeDead();
    void clearCellBack(int r, int c);
    // A copy of every cell's colour, H rows of rowLength(r) entries.
    std::vector<std::vector<int>> colourTable() const;
    void addEffect(std::unique_ptr<Effect> effect);
    FieldListener& events() const { return m_events; }

    // The turn cycle.
    void update(float dt);
    void announce();
    void placeNewFlowers();
    void onClick(float x, float y);
    // A flower still walking arrives at once and its turn plays out (a burst,
    // or the announced flowers placed), so a game saved mid-move keeps the
    // move and its consequences together.
    void finishWalk();
    bool insectActive() const;

    // Level state.
    int level() const { return m_level; }
    int numColours() const { return m_numColours; }
    int score() const { return m_score; }
    void setScore(int total) { m_score = total; }
    FieldState state() const { return m_state; }
    bool finished() const { return m_finished; }
    bool isLevelOver() const { return m_finished && m_state == FieldState::Idle; }
    bool succeeded() const { return m_success; }
    bool exitStarted() const { return m_exitStarted; }
    int timeBonus() const { return m_stats.m_statTimeBonus; }
    int chainBonus() const { return m_stats.m_statChainBonus; }
    const Statistics& statistics() const { return m_stats; }
    void setStatistics(const Statistics& stats) { m_stats = stats; }
    int newFlowerPercent() const { return m_newFlowerPercent; }
    int wildcardPercent() const { return m_wildcardPercent; }
    int streak() const { return m_streak; }
    float streakGauge() const { return m_streakGauge; }
    int idleTime() const { return m_idleTime; }
    float previewAlpha() const { return m_previewAlpha; }
    float resultsAlpha() const { return m_resultsAlpha; }
    float insectTimer() const { return m_insectTimer; }
    const Insect* insect() const { return m_insect.get(); }
    const BoardShake& shake() const { return m_shake; }
    const std::vector<GridPos>& trail() const { return m_trail; }
    const std::vector<std::unique_ptr<Flower>>& newCells() const { return m_newCells; }
    std::size_t effectCount() const { return m_effects.size(); }
    bool arrivedThisFrame() const { return m_arrivedThisFrame; }

    // Board editing for the saved game, tests and tools.
    Flower& placeFlower(int r, int c, int colour);
    void removeFlower(int r, int c);
    void clearAnnounced();
    void addAnnounced(const Vec4& position, int colour);
    void setIntroDelays();
    // The board's keys of the saved game ("field.field", "field.cellBacks", ...).
    void save(KeyValueFile& file) const;
    // False, and the board untouched, for a record that does not fit this level.
    bool load(const KeyValueFile& file);
    // The first broken board invariant, empty when the board is sound (tests and tools).
    std::string invariantFault() const;

    // The milliseconds between insects on a level (none come below level 6).
    static float insectInterval(int level);

private:
    // Returns the number of locked cells, which lead the candidate list.
    int buildCells(const LevelFile& file, std::vector<GridPos>& candidates);
    void fillInitialFlowers(std::vector<GridPos> candidates, int lockedCount, int fillPercent,
                            bool realGame);
    int percentOfCells(int percent) const;
    Flower* selectedFlower(GridPos* where) const;
    bool readyForMove() const;
    void fillDistanceTable(GridPos source) const;
    bool matches(int r, int c, int colour) const;
    int walkLine(GridPos from, Direction d, int colour, std::vector<GridPos>& line) const;
    bool lineThrough(int r, int c, const std::array<Direction, 2>& axis);
    void markLine(const std::vector<GridPos>& line, int colour);
    void collectHits(std::vector<GridPos>& hits);
    void burstHits(const std::vector<GridPos>& hits);
    void afterArrival(bool burst);
    int tableRun(GridPos from, Direction d, int colour) const;
    void rebuildColours();
    std::vector<GridPos> freeCells() const;
    void updateFlowers(float dt);
    void updateCells(float dt);
    void updateStateChanges();
    void updatePlacing();
    void updateEffects(float dt);
    void checkLevelEnd();
    void checkBoardClear();
    void checkStalled(float dt);
    void endLevel(bool won);
    bool allFlowersIdle() const;
    void updateInsects(float dt);
    bool boardBusy() const;
    std::vector<GridPos> insectCandidates() const;
    void createInsect(const std::vector<GridPos>& candidates);
    void handleInsectAtRest();
    void sendInsectAway();
    void startExit();
    bool allDelaysDone() const;
    bool savedBoardFits(const std::vector<int>& colours, const std::vector<int>& types,
                        const std::vector<int>& announced) const;
    void restoreBoard(const std::vector<int>& colours, const std::vector<int>& types);
    void showFloatingText(const std::string& text, const Vec4& position, float size);

    template <typename T> using Grid = std::array<std::array<T, kMaxSize>, kMaxSize>;

    FieldListener& m_events;
    int m_wildcardPercent = 0;
    FieldState m_state = FieldState::Idle;
    int m_level = 0;
    int m_numColours = 0;
    bool m_finished = false;
    bool m_success = false;
    bool m_arrivedThisFrame = false;
    Flower* m_lastArrived = nullptr;
    int m_W = 0;
    int m_H = 0;
    std::unique_ptr<Grid<std::unique_ptr<Flower>>> m_flowers;
    std::unique_ptr<Grid<int>> m_colours;
    std::unique_ptr<Grid<std::unique_ptr<CellBack>>> m_cellBacks;
    std::unique_ptr<Grid<std::unique_ptr<PathPoint>>> m_pathPoints;
    int m_newFlowerPercent = 0;
    std::vector<GridPos> m_trail;
    std::vector<std::unique_ptr<Effect>> m_effects;
    std::vector<std::unique_ptr<Flower>> m_newCells;
    // Cells of placed new flowers that have not finished appearing.
    std::vector<GridPos> m_placing;
    float m_previewAlpha = 0.0f;
    float m_previewAlphaStep = 0.08f;
    int m_score = 0;
    bool m_exitStarted = false;
    float m_resultsAlpha = 0.0f;
    float m_resultsAlphaStep = 0.04f;
    Statistics m_stats;
    int m_idleTime = 0;
    float m_insectTimer = 0.0f;
    std::unique_ptr<Insect> m_insect;
    BoardShake m_shake;
    int m_streak = 0;
    float m_streakGauge = 0.0f;
    int m_cellCount = 0;
    float m_stalledTime = 0.0f;
    // Scratch space reused by every update and search, so they do not allocate.
    std::vector<GridPos> m_lineScratch;
    std::vector<GridPos> m_markedScratch;
    mutable std::vector<int> m_distanceScratch;
    mutable std::vector<GridPos> m_searchQueue;
};

// The lookups every pass makes, inline because they run per cell per update.
inline bool Field::isCell(int r, int c) const
{
    return r >= 0 && r < m_H && c >= 0 && c < rowLength(r) && (*m_cellBacks)[r][c] != nullptr;
}

inline Flower* Field::flowerAt(int r, int c) const
{
    return isCell(r, c) ? (*m_flowers)[r][c].get() : nullptr;
}

inline CellBack* Field::cellBackAt(int r, int c) const
{
    return isCell(r, c) ? (*m_cellBacks)[r][c].get() : nullptr;
}

inline PathPoint* Field::pathPointAt(int r, int c) const
{
    return isCell(r, c) ? (*m_pathPoints)[r][c].get() : nullptr;
}

inline int Field::colourAt(int r, int c) const
{
    const Flower* f = flowerAt(r, c);
    return f ? f->colour() : kNoColour;
}
