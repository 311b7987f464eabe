// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/Field.h"

#include <algorithm>
#include <array>
#include <cstdlib>

// Picks and moves wait for a quiet board: no level end, sweep, intro,
// placing, bonus effect or insect on its way.
bool Field::readyForMove() const
{
    return m_state == FieldState::Idle && !m_finished && m_effects.empty() && !insectActive();
}

int Field::selectAt(int r, int c)
{
    if (!readyForMove())
        return kNoColour;
    Flower* flower = flowerAt(r, c);
    if (flower && flower->isIdle() && cellBackAt(r, c)->type() != CellType::Locked) {
        for (int rr = 0; rr < m_H; ++rr)
            for (int cc = 0; cc < rowLength(rr); ++cc)
                if (const Flower* f = flowerAt(rr, cc); f && f->isMoving())
                    return kNoColour;
        deselectAll();
        flower->setSelected(true);
        return flower->colour();
    }
    if (isCell(r, c) && cellBackAt(r, c)->type() == CellType::Locked)
        showFloatingText("CELL LOCKED", cellCentre(r, c), 24.0f);
    return kNoColour;
}

bool Field::moveSelectedTo(int r, int c)
{
    m_idleTime = 0;
    if (!isCell(r, c) || flowerAt(r, c) || !readyForMove())
        return false;
    GridPos from;
    Flower* flower = selectedFlower(&from);
    if (!flower || !flower->isIdle())
        return false;
    for (int rr = 0; rr < m_H; ++rr)
        for (int cc = 0; cc < rowLength(rr); ++cc)
            if (Flower* f = flowerAt(rr, cc))
                f->setMovedLast(false);
    std::vector<GridPos> path;
    if (findPath(from.row, from.col, r, c, path)) {
        std::deque<Vec4> waypoints;
        for (std::size_t i = 1; i < path.size(); ++i)
            waypoints.push_back(cellCentre(path[i].row, path[i].col));
        flower->setSelected(false);
        flower->setWaypoints(std::move(waypoints));
        flower->setMovedLast(true);
        (*m_flowers)[r][c] = std::move((*m_flowers)[from.row][from.col]);
        (*m_colours)[r][c] = (*m_colours)[from.row][from.col];
        (*m_colours)[from.row][from.col] = kNoColour;
    }
    return true;
}

bool Field::anyMovePossible() const
{
    for (int r = 0; r < m_H; ++r)
        for (int c = 0; c < rowLength(r); ++c) {
            const Flower* f = flowerAt(r, c);
            if (!f || !f->isIdle() || cellBackAt(r, c)->type() == CellType::Locked)
                continue;
            for (Direction d : searchOrder(r, middleRow()))
                if (const GridPos n = step({r, c}, d, middleRow());
                    isCell(n) && !flowerAt(n.row, n.col))
                    return true;
        }
    return false;
}

bool Field::hasSelection() const
{
    GridPos where;
    return selectedFlower(&where) != nullptr;
}

bool Field::isSelectedAt(int r, int c) const
{
    const Flower* f = flowerAt(r, c);
    return f && f->selected();
}

void Field::deselectAll()
{
    for (int r = 0; r < m_H; ++r)
        for (int c = 0; c < rowLength(r); ++c)
            if (Flower* f = flowerAt(r, c))
                f->setSelected(false);
}

Flower* Field::selectedFlower(GridPos* where) const
{
    for (int r = 0; r < m_H; ++r)
        for (int c = 0; c < rowLength(r); ++c)
            if (Flower* f = flowerAt(r, c); f && f->selected()) {
                *where = {r, c};
                return f;
            }
    return nullptr;
}

void Field::previewPath(const Vec4& mouse)
{
    for (int r = 0; r < m_H; ++r)
        for (int c = 0; c < rowLength(r); ++c)
            if (PathPoint* p = pathPointAt(r, c))
                p->setFadeStep(-0.04f);
    const GridPos target = cellUnder(mouse);
    GridPos from;
    Flower* selected = isCell(target) ? selectedFlower(&from) : nullptr;
    if (!selected) {
        m_trail.clear();
        return;
    }
    m_idleTime = 0;
    std::vector<GridPos> path;
    if (!findPath(from.row, from.col, target.row, target.col, path)) {
        m_trail.clear();
        return;
    }
    for (const GridPos& p : path)
        pathPointAt(p.row, p.col)->setFadeStep(0.04f);
    m_trail = std::move(path);
}

// Row-major, kMaxSize entries per row: 0 free, -1 taken, else the distance
// from the target (the target holding 1).
void Field::fillDistanceTable(GridPos source) const
{
    std::vector<int>& table = m_distanceScratch;
    table.assign(static_cast<std::size_t>(m_H) * kMaxSize, 0);
    for (int r = 0; r < m_H; ++r)
        for (int c = 0; c < rowLength(r); ++c)
            if ((*m_flowers)[r][c] && isCell(r, c))
                table[static_cast<std::size_t>(r) * kMaxSize + c] = -1;
    table[static_cast<std::size_t>(source.row) * kMaxSize + source.col] = 0;
}

// Breadth-first from the target. A cell gets its distance when it is first
// queued, which in a breadth-first walk is the distance it would get when
// first taken from the queue; the search ends once the source has one.
bool Field::findPath(int fromR, int fromC, int toR, int toC, std::vector<GridPos>& path) const
{
    if (!isCell(fromR, fromC) || !isCell(toR, toC))
        return false;
    fillDistanceTable({fromR, fromC});
    std::vector<int>& dist = m_distanceScratch;
    auto at = [&dist](GridPos p) -> int& {
        return dist[static_cast<std::size_t>(p.row) * kMaxSize + p.col];
    };
    const GridPos source{fromR, fromC};
    if (at({toR, toC}) != 0)
        return false;
    at({toR, toC}) = 1;
    std::vector<GridPos>& queue = m_searchQueue;
    queue.assign(1, {toR, toC});
    bool found = queue.front() == source;
    for (std::size_t head = 0; head < queue.size() && !found; ++head) {
        const GridPos p = queue[head];
        const int next = at(p) + 1;
        for (Direction d : searchOrder(p.row, middleRow())) {
            const GridPos n = step(p, d, middleRow());
            if (!isCell(n) || at(n) != 0)
                continue;
            at(n) = next;
            if (n == source) {
                found = true;
                break;
            }
            queue.push_back(n);
        }
    }
    if (!found)
        return false;
    auto distanceAt = [&at](int r, int c) { return at({r, c}); };

    std::vector<GridPos> preferred(m_trail.empty() ? m_trail.begin() : m_trail.begin() + 1,
                                   m_trail.end());
    std::size_t next = 0;
    path.assign(1, {fromR, fromC});
    for (int d = distanceAt(fromR, fromC); d >= 2; --d) {
        const GridPos last = path.back();
        std::array<GridPos, 6> listed;
        std::size_t count = 0;
        for (Direction dir : searchOrder(last.row, middleRow())) {
            const GridPos n = step(last, dir, middleRow());
            if (isCell(n) && distanceAt(n.row, n.col) == d - 1)
                listed[count++] = n;
        }
        if (count == 0)
            return false;
        const auto end = listed.begin() + static_cast<std::ptrdiff_t>(count);
        if (next < preferred.size() && std::find(listed.begin(), end, preferred[next]) != end) {
            path.push_back(preferred[next++]);
        } else {
            path.push_back(listed.front());
        }
    }
    return true;
}

void Field::showFloatingText(const std::string& text, const Vec4& position, float size)
{
    const float rise = -(static_cast<float>(std::rand() % 100) / 400.0f + 0.25f);
    m_events.floatingText(text, position, size, {0.0f, rise, 0.0f, 1.0f});
}
