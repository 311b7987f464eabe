// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/Field.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "board/Blast.h"
#include "board/ColourBomb.h"
#include "board/Saturating.h"

namespace {
bool matchesColour(int value, int colour)
{
    return value != kNoColour && (isWildcard(value) || value == colour);
}
} // namespace

bool Field::matches(int r, int c, int colour) const
{
    const Flower* f = flowerAt(r, c);
    return f && f->isIdle() && matchesColour(f->colour(), colour);
}

// Adds matching positions from `from` on, stopping at an ordinary flower
// already marked on this axis.
int Field::walkLine(GridPos from, Direction d, int colour, std::vector<GridPos>& line) const
{
    int added = 0;
    for (GridPos p = from; matches(p.row, p.col, colour); p = step(p, d, middleRow())) {
        const Flower* f = flowerAt(p.row, p.col);
        if (!isWildcard(f->colour()) && f->marked())
            break;
        line.push_back(p);
        ++added;
    }
    return added;
}

bool Field::lineThrough(int r, int c, const std::array<Direction, 2>& axis)
{
    const int colour = colourAt(r, c);
    if (colour == kBombFlower || colour == kBlastFlower)
        return false;
    std::vector<GridPos>& line = m_lineScratch;
    line.clear();
    walkLine({r, c}, axis[0], colour, line);
    walkLine(step({r, c}, axis[1], middleRow()), axis[1], colour, line);
    if (line.size() < 3)
        return false;
    markLine(line, colour);
    return true;
}

void Field::markLine(const std::vector<GridPos>& line, int colour)
{
    for (const GridPos& p : line) {
        Flower* f = flowerAt(p.row, p.col);
        if (!f->marked())
            m_markedScratch.push_back(p);
        f->setMarked(true);
        if (f->colour() == kBlastFlower) {
            addEffect(std::make_unique<Blast>(f->position(), *this, 150.0f));
            m_shake.shake(16);
        } else if (f->colour() == kBombFlower) {
            addEffect(std::make_unique<ColourBomb>(colour, f->position(), *this));
            m_shake.shake(16);
        }
    }
    if (line.size() == 3)
        return;
    int survivor = -1;
    for (std::size_t i = 0; i < line.size(); ++i)
        if (flowerAt(line[i].row, line[i].col)->movedLast())
            survivor = static_cast<int>(i);
    if (survivor < 0)
        survivor = std::rand() % static_cast<int>(line.size());
    const GridPos p = line[static_cast<std::size_t>(survivor)];
    flowerAt(p.row, p.col)->setRespawnKind(line.size() == 4 ? kBombFlower : kBlastFlower);
}

// The flowers marked in this axis pass, row-major.
void Field::collectHits(std::vector<GridPos>& hits)
{
    std::sort(m_markedScratch.begin(), m_markedScratch.end(),
              [](GridPos a, GridPos b) { return a.row != b.row ? a.row < b.row : a.col < b.col; });
    for (const GridPos& p : m_markedScratch) {
        hits.push_back(p);
        flowerAt(p.row, p.col)->setMarked(false);
    }
    m_markedScratch.clear();
}

void Field::findLines()
{
    std::vector<GridPos> hits;
    for (const auto& axis : kHex.lineAxes) {
        for (int r = 0; r < m_H; ++r)
            for (int c = 0; c < rowLength(r); ++c)
                if (flowerAt(r, c))
                    lineThrough(r, c, axis);
        collectHits(hits);
    }
    if (hits.size() >= 4)
        ++m_stats.m_statChains;
    if (!hits.empty())
        m_events.playSound(BoardSound::GlassBreaks, SoundRestart::Always);
    burstHits(hits);
    if (m_arrivedThisFrame)
        afterArrival(!hits.empty());
}

void Field::burstHits(const std::vector<GridPos>& hits)
{
    int points = 10;
    for (const GridPos& p : hits) {
        flowerAt(p.row, p.col)->explode(m_events);
        award(points, cellCentre(p.row, p.col));
        points += 2;
    }
}

// The end of a move: a burst grows the streak, a quiet arrival ends the turn.
void Field::afterArrival(bool burst)
{
    if (!burst) {
        m_streak = 0;
        placeNewFlowers();
        return;
    }
    if (++m_streak == 5) {
        m_streak = 0;
        addEffect(std::make_unique<Blast>(m_lastArrived->position(), *this, 45.0f));
        m_shake.shake(8);
    }
}

int Field::tableRun(GridPos from, Direction d, int colour) const
{
    int n = 0;
    for (GridPos p = from; isCell(p) && matchesColour((*m_colours)[p.row][p.col], colour);
         p = step(p, d, middleRow()))
        ++n;
    return n;
}

bool Field::wouldFormLine(int r, int c, int colour)
{
    if (colour == kBombFlower || colour == kBlastFlower)
        return false;
    const int saved = (*m_colours)[r][c];
    (*m_colours)[r][c] = colour;
    bool line = false;
    for (const auto& axis : kHex.lineAxes) {
        const int n = tableRun({r, c}, axis[0], colour) +
                      tableRun(step({r, c}, axis[1], middleRow()), axis[1], colour);
        line = line || n >= 3;
    }
    (*m_colours)[r][c] = saved;
    return line;
}

void Field::removeDead()
{
    for (int r = 0; r < m_H; ++r) {
        for (int c = 0; c < rowLength(r); ++c) {
            const Flower* f = flowerAt(r, c);
            if (!f || !f->isDead())
                continue;
            const int kind = f->respawnKind();
            removeFlower(r, c);
            cellBackAt(r, c)->wearDown();
            if (kind == kBombFlower || kind == kBlastFlower)
                placeFlower(r, c, kind);
        }
    }
}

void Field::award(int points, const Vec4& position, AwardSize size)
{
    m_score = saturatingAdd(m_score, points);
    m_stats.m_statScoreOnLevel = saturatingAdd(m_stats.m_statScoreOnLevel, points);
    m_stats.m_statBallsExploded = saturatingAdd(m_stats.m_statBallsExploded, 1);
    char text[16];
    std::snprintf(text, sizeof text, "%d", points);
    showFloatingText(text, position, size == AwardSize::Big ? 42.0f : 24.0f);
}

void Field::clearCellBack(int r, int c)
{
    CellBack* back = cellBackAt(r, c);
    if (!back || back->type() == CellType::Cleared)
        return;
    award(300, cellCentre(r, c));
    m_events.burst(cellCentre(r, c), 15);
    back->setType(CellType::Cleared);
}
