// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/Field.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

bool cellTypeOf(char ch, CellType& type)
{
    switch (ch) {
    case '0':
        type = CellType::Raw;
        return true;
    case '1':
        type = CellType::HalfCleared;
        return true;
    case '2':
        type = CellType::Cleared;
        return true;
    case '4':
        type = CellType::Locked;
        return true;
    default:
        return false;
    }
}
} // namespace

const float Field::kRowHeight = std::sqrt(40.0f * 40.0f - 20.0f * 20.0f) + 1.1f;

Field::Field(const LevelFile& file, int level, bool realGame, std::uint32_t seed,
             FieldListener& events)
    : m_events(events), m_flowers(std::make_unique<Grid<std::unique_ptr<Flower>>>()),
      m_colours(std::make_unique<Grid<int>>()),
      m_cellBacks(std::make_unique<Grid<std::unique_ptr<CellBack>>>()),
      m_pathPoints(std::make_unique<Grid<std::unique_ptr<PathPoint>>>())
{
    std::srand(seed);
    m_level = level;
    m_numColours = file.numColours;
    m_newFlowerPercent = file.newFlowerPercent;
    m_wildcardPercent = file.wildcardPercent;
    m_H = std::min(file.rows, kMaxSize);
    m_W = std::min(file.width, kMaxSize);
    std::vector<GridPos> candidates;
    const int lockedCount = buildCells(file, candidates);
    fillInitialFlowers(std::move(candidates), lockedCount, file.fillPercent, realGame);
    announce();
    setIntroDelays();
    m_state = FieldState::Intro;
    m_insectTimer = insectInterval(level);
}

Field::~Field() = default;

// One layout character per position; locked cells become the first candidates.
int Field::buildCells(const LevelFile& file, std::vector<GridPos>& candidates)
{
    for (auto& row : *m_colours)
        row.fill(kNoColour);
    std::size_t index = 0;
    for (int r = 0; r < m_H; ++r) {
        for (int c = 0; c < rowLength(r); ++c, ++index) {
            CellType type;
            if (!cellTypeOf(file.layoutAt(index), type))
                continue;
            (*m_cellBacks)[r][c] = std::make_unique<CellBack>(type, cellCentre(r, c));
            (*m_pathPoints)[r][c] = std::make_unique<PathPoint>(cellCentre(r, c));
            ++m_cellCount;
            if (type == CellType::Locked)
                candidates.push_back({r, c});
        }
    }
    const int locked = static_cast<int>(candidates.size());
    for (int r = 0; r < m_H; ++r)
        for (int c = 0; c < rowLength(r); ++c)
            if (isCell(r, c) && cellBackAt(r, c)->type() != CellType::Locked)
                candidates.push_back({r, c});
    return locked;
}

void Field::fillInitialFlowers(std::vector<GridPos> candidates, int lockedCount, int fillPercent,
                               bool realGame)
{
    int k = percentOfCells(fillPercent);
    k = std::max(k, lockedCount);
    for (int i = 0; i < k && !candidates.empty(); ++i) {
        const std::size_t pick =
            i < lockedCount ? 0 : static_cast<std::size_t>(std::rand()) % candidates.size();
        const GridPos p = candidates[pick];
        int colour = 0;
        for (int attempt = 1; attempt <= 50; ++attempt) {
            colour = std::rand() % m_numColours;
            if (!realGame || !wouldFormLine(p.row, p.col, colour))
                break;
        }
        placeFlower(p.row, p.col, colour);
        candidates.erase(candidates.begin() + static_cast<std::ptrdiff_t>(pick));
    }
}

void Field::setIntroDelays()
{
    bool found = false;
    float leftmost = 0.0f;
    for (int r = 0; r < m_H; ++r)
        for (int c = 0; c < rowLength(r); ++c)
            if (isCell(r, c) && (!found || cellCentre(r, c).x < leftmost)) {
                leftmost = cellCentre(r, c).x;
                found = true;
            }
    for (int r = 0; r < m_H; ++r) {
        for (int c = 0; c < rowLength(r); ++c) {
            if (!isCell(r, c))
                continue;
            const float delay = (cellCentre(r, c).x - leftmost + 1.0f) * 4.0f;
            cellBackAt(r, c)->setStartDelay(delay);
            if (Flower* f = flowerAt(r, c))
                f->setStartDelay(delay);
        }
    }
}

// trunc(cells / 100 * percent), kept within int for absurd percentages.
int Field::percentOfCells(int percent) const
{
    const double n = static_cast<double>(m_cellCount) / 100.0 * percent;
    return static_cast<int>(std::clamp(n, 0.0, 1.0e9));
}

Vec4 Field::cellCentre(int r, int c) const
{
    const int fromMiddle = r - middleRow();
    const float x = static_cast<float>(std::abs(fromMiddle)) * kHalfWidth +
                    static_cast<float>(c) * kCellWidth + kOriginX;
    const float y = static_cast<float>(fromMiddle) * kRowHeight + kOriginY;
    return {x, y, 0.0f, 1.0f};
}

namespace {
// Keeps far-off points (an insect leaving, a stray pointer) inside int range.
float clampCoordinate(float v)
{
    return std::clamp(v, -1.0e6f, 1.0e6f);
}
} // namespace

int Field::rowAt(float y) const
{
    y = clampCoordinate(y);
    const int inner = static_cast<int>(static_cast<double>(y) - kOriginY +
                                       (m_H / 2.0) * static_cast<double>(kRowHeight));
    return static_cast<int>(static_cast<float>(inner) / kRowHeight);
}

int Field::colAt(float x, float y) const
{
    return colInRow(x, rowAt(y));
}

int Field::colInRow(float x, int row) const
{
    const float shift = static_cast<float>(m_W - rowLength(row)) * kHalfWidth;
    const int inner = static_cast<int>(clampCoordinate(x) - kOriginX - shift + kHalfWidth);
    return inner / static_cast<int>(kCellWidth);
}

Flower& Field::placeFlower(int r, int c, int colour)
{
    auto flower = std::make_unique<Flower>(colour, 0, cellCentre(r, c));
    flower->startAppearing(0.0f);
    (*m_colours)[r][c] = colour;
    (*m_flowers)[r][c] = std::move(flower);
    return *(*m_flowers)[r][c];
}

void Field::removeFlower(int r, int c)
{
    if (isCell(r, c)) {
        (*m_flowers)[r][c].reset();
        (*m_colours)[r][c] = kNoColour;
    }
}

void Field::clearAnnounced()
{
    m_newCells.clear();
}

void Field::addAnnounced(const Vec4& position, int colour)
{
    m_newCells.push_back(std::make_unique<Flower>(colour, 0, position));
}

std::vector<std::vector<int>> Field::colourTable() const
{
    std::vector<std::vector<int>> table(static_cast<std::size_t>(m_H));
    for (int r = 0; r < m_H; ++r)
        for (int c = 0; c < rowLength(r); ++c)
            table[static_cast<std::size_t>(r)].push_back(colourAt(r, c));
    return table;
}

void Field::addEffect(std::unique_ptr<Effect> effect)
{
    m_effects.push_back(std::move(effect));
}

float Field::insectInterval(int level)
{
    if (level < 20)
        return 90000.0f;
    return level < 60 ? 60000.0f : 45000.0f;
}
