// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/Field.h"
#include "board/Saturating.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

void Field::update(float dt)
{
    const float gaugeTarget = static_cast<float>(m_streak) / 4.0f;
    if (m_streakGauge < gaugeTarget)
        m_streakGauge = std::min(m_streakGauge + 0.01f, gaugeTarget);
    else if (m_streakGauge > gaugeTarget)
        m_streakGauge = std::max(m_streakGauge - 0.01f, gaugeTarget);
    m_idleTime = std::max(0, saturatingAdd(m_idleTime, static_cast<int>(dt)));
    if (m_state == FieldState::Idle && !m_finished)
        m_stats.m_statTimeOnLevel = saturatingAdd(m_stats.m_statTimeOnLevel, static_cast<int>(dt));
    if (m_state == FieldState::Idle || m_state == FieldState::Finished)
        m_previewAlpha = std::clamp(m_previewAlpha + m_previewAlphaStep, 0.0f, 1.0f);
    updateFlowers(dt);
    updateCells(dt);
    updateStateChanges();
    if (m_state == FieldState::Placing)
        updatePlacing();
    if (!m_finished)
        removeDead();
    findLines();
    updateEffects(dt);
    checkLevelEnd();
    checkBoardClear();
    checkStalled(dt);
    updateInsects(dt);
}

void Field::updateFlowers(float dt)
{
    m_arrivedThisFrame = false;
    for (int r = 0; r < m_H; ++r) {
        for (int c = 0; c < rowLength(r); ++c) {
            Flower* f = flowerAt(r, c);
            if (!f)
                continue;
            const bool wasMoving = f->isMoving();
            if (wasMoving) {
                const GridPos under = cellUnder(f->position());
                if (PathPoint* p = pathPointAt(under.row, under.col))
                    p->setFadeStep(-0.04f);
            }
            f->update(dt, m_events);
            if (wasMoving && !f->isMoving()) {
                m_lastArrived = f;
                m_arrivedThisFrame = true;
            }
        }
    }
}

void Field::finishWalk()
{
    Flower* walker = nullptr;
    for (int r = 0; r < m_H; ++r)
        for (int c = 0; c < rowLength(r); ++c)
            if (Flower* f = flowerAt(r, c); f && f->isMoving())
                walker = f;
    if (walker == nullptr)
        return;
    walker->arriveNow();
    m_lastArrived = walker;
    m_arrivedThisFrame = true;
    findLines();
    m_arrivedThisFrame = false;
}

void Field::updateCells(float dt)
{
    for (int r = 0; r < m_H; ++r)
        for (int c = 0; c < rowLength(r); ++c)
            if (CellBack* back = cellBackAt(r, c))
                back->update(dt);
    for (int r = 0; r < m_H; ++r)
        for (int c = 0; c < rowLength(r); ++c)
            if (PathPoint* p = pathPointAt(r, c))
                p->update();
    m_shake.update();
}

bool Field::allDelaysDone() const
{
    for (int r = 0; r < m_H; ++r)
        for (int c = 0; c < rowLength(r); ++c)
            if (const CellBack* back = cellBackAt(r, c); back && back->startDelay() > 0.001f)
                return false;
    return true;
}

void Field::updateStateChanges()
{
    if (m_state == FieldState::Intro && allDelaysDone())
        m_state = FieldState::Idle;
    if (m_state != FieldState::Finished)
        return;
    m_resultsAlpha = std::clamp(m_resultsAlpha + m_resultsAlphaStep, 0.0f, 1.0f);
    // Waiting for the exit too: a board won empty would otherwise skip the results.
    if (!m_exitStarted || !allDelaysDone())
        return;
    for (int r = 0; r < m_H; ++r)
        for (int c = 0; c < rowLength(r); ++c)
            if (const Flower* f = flowerAt(r, c); f && !f->isDead())
                return;
    m_state = FieldState::Idle;
}

// New flowers wait until they have grown (or their cell was emptied again).
void Field::updatePlacing()
{
    std::erase_if(m_placing, [this](const GridPos& p) {
        const Flower* f = flowerAt(p.row, p.col);
        return !f || f->isIdle();
    });
    if (m_placing.empty()) {
        m_state = FieldState::Idle;
        announce();
    }
}

void Field::updateEffects(float dt)
{
    for (std::size_t i = 0; i < m_effects.size();) {
        if (m_effects[i]->update(dt))
            m_effects.erase(m_effects.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
}

void Field::rebuildColours()
{
    for (int r = 0; r < m_H; ++r)
        for (int c = 0; c < rowLength(r); ++c)
            (*m_colours)[r][c] = colourAt(r, c);
}

std::vector<GridPos> Field::freeCells() const
{
    std::vector<GridPos> cells;
    for (int r = 0; r < m_H; ++r)
        for (int c = 0; c < rowLength(r); ++c)
            if (isCell(r, c) && !flowerAt(r, c))
                cells.push_back({r, c});
    return cells;
}

void Field::announce()
{
    rebuildColours();
    std::vector<GridPos> free = freeCells();
    const int n = std::min(percentOfCells(m_newFlowerPercent), static_cast<int>(free.size()));
    for (int i = 0; i < n; ++i) {
        std::size_t pick = 0;
        int colour = 0;
        for (int attempt = 1; attempt <= 50; ++attempt) {
            pick = static_cast<std::size_t>(std::rand()) % free.size();
            colour = std::rand() % m_numColours;
            if (std::rand() % 100 < m_wildcardPercent)
                colour = kWildcard;
            if (!wouldFormLine(free[pick].row, free[pick].col, colour))
                break;
        }
        const GridPos p = free[pick];
        m_newCells.push_back(std::make_unique<Flower>(colour, 0, cellCentre(p.row, p.col)));
        free.erase(free.begin() + static_cast<std::ptrdiff_t>(pick));
        (*m_colours)[p.row][p.col] = colour;
    }
    m_previewAlpha = 0.0f;
}

void Field::placeNewFlowers()
{
    std::vector<std::unique_ptr<Flower>> homeless;
    for (auto& flower : m_newCells) {
        const GridPos p = cellUnder(flower->position());
        if (isCell(p) && !flowerAt(p.row, p.col)) {
            flower->startAppearing(0.0f);
            (*m_flowers)[p.row][p.col] = std::move(flower);
            m_placing.push_back(p);
        } else {
            homeless.push_back(std::move(flower));
        }
    }
    m_newCells.clear();
    std::vector<GridPos> free = homeless.empty() ? std::vector<GridPos>{} : freeCells();
    for (auto& flower : homeless) {
        if (free.empty())
            break; // the board is full; the rest are dropped
        const std::size_t pick = static_cast<std::size_t>(std::rand()) % free.size();
        const GridPos p = free[pick];
        flower->setPosition(cellCentre(p.row, p.col));
        flower->startAppearing(0.0f);
        (*m_flowers)[p.row][p.col] = std::move(flower);
        m_placing.push_back(p);
        free.erase(free.begin() + static_cast<std::ptrdiff_t>(pick));
    }
    m_state = FieldState::Placing;
}

void Field::checkLevelEnd()
{
    if (!m_effects.empty() || m_state != FieldState::Idle || m_finished)
        return;
    bool uncleared = false;
    bool full = true;
    for (int r = 0; r < m_H; ++r) {
        for (int c = 0; c < rowLength(r); ++c) {
            const CellBack* back = cellBackAt(r, c);
            if (!back)
                continue;
            uncleared = uncleared || back->type() != CellType::Cleared;
            const Flower* f = flowerAt(r, c);
            full = full && f && f->isIdle();
        }
    }
    if (uncleared && !full)
        return;
    endLevel(!uncleared);
}

void Field::endLevel(bool won)
{
    m_finished = true;
    m_success = won;
    m_state = FieldState::Finished;
    if (!won)
        return;
    const int time = m_stats.m_statTimeOnLevel;
    const double bonus = time > 0 ? static_cast<double>(m_score) / time * 20000.0 : 0.0;
    m_stats.m_statTimeBonus = static_cast<int>(std::min(bonus, static_cast<double>(INT_MAX)));
    m_stats.m_statChainBonus = saturatingMultiply(m_stats.m_statChains, 1250);
}

// A quiet board on which no flower can move would wait forever. Once the
// player has had a moment to see it, the turn ends as after a move without a
// burst; with nothing announced the board can never change again, so the
// level is lost.
void Field::checkStalled(float dt)
{
    if (m_state != FieldState::Idle || m_finished || !m_effects.empty() || !allFlowersIdle() ||
        anyMovePossible()) {
        m_stalledTime = 0.0f;
        return;
    }
    m_stalledTime += dt;
    if (m_stalledTime < kStallPause)
        return;
    m_stalledTime = 0.0f;
    if (m_newCells.empty()) {
        endLevel(false);
        return;
    }
    m_streak = 0;
    placeNewFlowers();
}

bool Field::allFlowersIdle() const
{
    for (int r = 0; r < m_H; ++r)
        for (int c = 0; c < rowLength(r); ++c)
            if (const Flower* f = flowerAt(r, c); f && !f->isIdle())
                return false;
    return true;
}

// Only flowers on locked cells (or none) left: a fresh batch and a big award.
void Field::checkBoardClear()
{
    if (m_state != FieldState::Idle || m_finished || m_newCells.empty())
        return;
    for (int r = 0; r < m_H; ++r)
        for (int c = 0; c < rowLength(r); ++c)
            if (flowerAt(r, c) && cellBackAt(r, c)->type() != CellType::Locked)
                return;
    placeNewFlowers();
    award(25000, {400.0f, 300.0f, 0.0f, 1.0f}, AwardSize::Big);
}

void Field::onClick(float x, float y)
{
    const Vec4 point{x, y, 0.0f, 1.0f};
    if (m_insect && !m_insect->hit() && m_insect->landings() == 0 && m_insect->hitTest(point)) {
        sendInsectAway();
        m_insect->setLandings(1);
        award(1000, point, AwardSize::Big);
    }
    if (m_state == FieldState::Finished && !m_exitStarted)
        startExit();
}

void Field::startExit()
{
    m_previewAlphaStep = -0.04f;
    m_resultsAlphaStep = -0.04f;
    for (int r = 0; r < m_H; ++r) {
        for (int c = 0; c < rowLength(r); ++c) {
            if (CellBack* back = cellBackAt(r, c))
                back->setOpacityStep(-0.05f);
            if (Flower* f = flowerAt(r, c))
                f->explodeAfterDelay();
        }
    }
    setIntroDelays();
    m_exitStarted = true;
}
