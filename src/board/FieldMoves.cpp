#include "board/Field.h"

#include <algorithm>
#include <cstdlib>

#include "effects/ParticleSystem.h"

int Field::selectAt(int r, int c) {
    if (insectActive() || !m_effects.empty() || m_state != FieldState::Idle)
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

bool Field::moveSelectedTo(int r, int c) {
    m_idleTime = 0;
    if (!isCell(r, c) || flowerAt(r, c))
        return false;
    GridPos from;
    Flower* flower = selectedFlower(&from);
    if (!flower)
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

bool Field::isSelectedAt(int r, int c) const {
    const Flower* f = flowerAt(r, c);
    return f && f->selected();
}

void Field::deselectAll() {
    for (int r = 0; r < m_H; ++r)
        for (int c = 0; c < rowLength(r); ++c)
            if (Flower* f = flowerAt(r, c))
                f->setSelected(false);
}

Flower* Field::selectedFlower(GridPos* where) const {
    for (int r = 0; r < m_H; ++r)
        for (int c = 0; c < rowLength(r); ++c)
            if (Flower* f = flowerAt(r, c); f && f->selected()) {
                *where = {r, c};
                return f;
            }
    return nullptr;
}

void Field::previewPath(const Vec4& mouse) {
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
std::vector<int> Field::distanceTable(GridPos source) const {
    std::vector<int> table(static_cast<std::size_t>(m_H) * kMaxSize, 0);
    for (int r = 0; r < m_H; ++r)
        for (int c = 0; c < rowLength(r); ++c)
            if (isCell(r, c) && (*m_flowers)[r][c])
                table[static_cast<std::size_t>(r) * kMaxSize + c] = -1;
    table[static_cast<std::size_t>(source.row) * kMaxSize + source.col] = 0;
    return table;
}

bool Field::findPath(int fromR, int fromC, int toR, int toC, std::vector<GridPos>& path) const {
    if (!isCell(fromR, fromC))
        return false;
    std::vector<int> dist = distanceTable({fromR, fromC});
    auto at = [&dist](int r, int c) -> int& { return dist[static_cast<std::size_t>(r) * kMaxSize + c]; };
    struct Visit {
        GridPos pos;
        int d;
    };
    std::vector<Visit> queue{{{toR, toC}, 1}};
    bool found = false;
    for (std::size_t head = 0; head < queue.size() && !found; ++head) {
        const Visit v = queue[head];
        if (!isCell(v.pos) || at(v.pos.row, v.pos.col) != 0)
            continue;
        at(v.pos.row, v.pos.col) = v.d;
        if (v.pos.row == fromR && v.pos.col == fromC) {
            found = true;
            break;
        }
        for (Direction d : searchOrder(v.pos.row, middleRow()))
            queue.push_back({step(v.pos, d, middleRow()), v.d + 1});
    }
    if (!found)
        return false;

    std::vector<GridPos> preferred(m_trail.empty() ? m_trail.begin() : m_trail.begin() + 1,
                                   m_trail.end());
    std::size_t next = 0;
    path.assign(1, {fromR, fromC});
    for (int d = at(fromR, fromC); d >= 2; --d) {
        const GridPos last = path.back();
        std::vector<GridPos> listed;
        for (Direction dir : searchOrder(last.row, middleRow())) {
            const GridPos n = step(last, dir, middleRow());
            if (isCell(n) && at(n.row, n.col) == d - 1)
                listed.push_back(n);
        }
        if (listed.empty())
            return false;
        if (next < preferred.size() &&
            std::find(listed.begin(), listed.end(), preferred[next]) != listed.end()) {
            path.push_back(preferred[next++]);
        } else {
            path.push_back(listed.front());
        }
    }
    return true;
}

void Field::showFloatingText(const std::string& text, const Vec4& position, float size) {
    const float rise = -(static_cast<float>(std::rand() % 100 / 400) + 0.25f);
    if (ParticleSystem* particles = ParticleSystem::instance())
        particles->showText(text, position, size, {0.0f, rise, 0.0f, 1.0f},
                            {1.0f, 1.0f, 1.0f, 1.0f});
}
