#include "LevelDesign.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "board/Field.h"
#include "board/HexGrid.h"

namespace {
struct Board {
    int rows;
    int width;
};

// Every board, centred, stays inside 800 x 600 and clear of the score,
// lives, level and dynamite plaques: at most 15 rows and 15 cells across.
constexpr std::array<Board, 9> kBoards{{
    {7, 7},
    {7, 9},
    {9, 9},
    {9, 11},
    {11, 11},
    {11, 13},
    {13, 13},
    {13, 15},
    {15, 15},
}};

// The first ten levels each bring one thing to learn, in this order: cells
// that need one burst (the corners start cleared: a line only ends there),
// raw cells that need two, a fourth colour, a wider board, four flowers a
// turn, a bigger board with a hole (and the insects, which come from level 6
// by the rules), a fifth colour, wildcards, a bigger board again, a locked
// cell. No wildcards before level 8: one among the new flowers is placed
// without regard to lines and often completes one by itself, and a player
// who never aims should not win.
struct Early {
    int rows, width, colours, flowersPerTurn, lockedPermille, work;
    bool centreHole;
    bool clearedCorners;
};
constexpr std::array<Early, 10> kEarly{{
    {7, 7, 3, 3, 0, 31, false, true},
    {7, 7, 3, 3, 0, 46, false, true},
    {7, 7, 4, 3, 0, 48, false, true},
    {7, 9, 4, 3, 0, 58, false, true},
    {7, 9, 4, 4, 0, 64, false, true},
    {9, 9, 4, 4, 0, 78, true, false},
    {9, 9, 5, 4, 0, 86, false, false},
    {9, 9, 5, 4, 0, 92, false, false},
    {9, 11, 5, 4, 0, 110, false, false},
    {9, 11, 5, 4, 12, 116, false, false},
}};
constexpr int kEarlyLevels = static_cast<int>(kEarly.size());

// The first level with each count, starting from the first entry's count.
template <std::size_t N> int stepped(int level, int first, const std::array<int, N>& from)
{
    int n = first - 1;
    for (int f : from)
        n += level >= f;
    return n;
}

double progress(int level)
{
    return static_cast<double>(level - kEarlyLevels) / (LevelDesign::kLevels - kEarlyLevels);
}

// From the last early level's work to 312 on the last level, slowly at first.
int workOf(int level)
{
    const double growth = 196.0 * std::pow(progress(level), 1.1);
    return static_cast<int>(std::lround(kEarly.back().work + growth));
}

// A colour more or a flower more per turn, never both on one level.
int coloursOf(int level)
{
    return stepped(level, 5, std::array{7, 40, 70});
}
int flowersPerTurnOf(int level)
{
    return stepped(level, 4, std::array{5, 30, 55, 85});
}
// Locked cells are the hardest to reach: few, one at least from level 10.
int lockedPermilleOf(int level)
{
    return 12 + (level - kEarlyLevels) / 6;
}
// Wildcards are the fine step of the curve: they thin out level by level, and
// come back more often on a level that brings a colour or a flower more per
// turn, so that such a level is a step and not a wall.
struct WildcardEra {
    int from;
    int first;
    int last;
};
constexpr std::array<WildcardEra, 6> kWildcardEras{{
    {8, 6, 2},
    {30, 8, 3},
    {40, 12, 5},
    {55, 13, 6},
    {70, 14, 7},
    {85, 12, 8},
}};

int wildcardPercentOf(int level)
{
    std::size_t e = 0;
    while (e + 1 < kWildcardEras.size() && kWildcardEras[e + 1].from <= level)
        ++e;
    const WildcardEra& era = kWildcardEras[e];
    if (level < era.from)
        return 0;
    const int end =
        e + 1 < kWildcardEras.size() ? kWildcardEras[e + 1].from - 1 : LevelDesign::kLevels;
    const double t = static_cast<double>(level - era.from) / (end - era.from);
    return static_cast<int>(std::lround(era.first + (era.last - era.first) * t));
}
// Enough flowers that emptying the board, and its award, takes a plan.
int fillPercentOf(int level)
{
    return 40 + (level - 1) / 33;
}

std::uint32_t hash(int level, int index)
{
    std::uint32_t h = static_cast<std::uint32_t>(level) * 2654435761u ^
                      static_cast<std::uint32_t>(index) * 2246822519u;
    h ^= h >> 15;
    h *= 2246822519u;
    h ^= h >> 13;
    return h;
}

struct Position {
    int row;
    int col;
};

// Hex distance of a position from the board's centre cell.
int distanceFromCentre(Position p, int rows, int width)
{
    const int m = rows / 2;
    const int dy = std::abs(p.row - m);
    const int dx = std::abs(dy + 2 * p.col - (width - 1));
    return dy + std::max(0, (dx - dy) / 2);
}

bool isCorner(Position p, int rows, int width)
{
    const int last = rowLengthOf(p.row, rows, width) - 1;
    const bool edgeRow = p.row == 0 || p.row == rows / 2 || p.row == rows - 1;
    return edgeRow && (p.col == 0 || p.col == last);
}

// Groups of holes, each symmetric about the board's centre, punched in order
// where the cell count cannot give the designed flowers per turn.
enum class Holes { None, Centre, MiddleRowPair, CentreBlob, Corners };

bool inGroup(Holes group, Position p, int rows, int width)
{
    const int d = distanceFromCentre(p, rows, width);
    switch (group) {
    case Holes::None:
        return false;
    case Holes::Centre:
        return d == 0;
    case Holes::MiddleRowPair:
        return p.row == rows / 2 && d == (rows / 2 + 1) / 2;
    case Holes::CentreBlob:
        return d <= 1;
    case Holes::Corners:
        return isCorner(p, rows, width);
    }
    return false;
}

// A hole in the middle of every fourth board from level 21: variety that
// costs little (holes further out block the long rows and weigh more), and
// none on a level that already brings a colour or a flower more per turn.
bool centreHoleOf(int level)
{
    const bool step = coloursOf(level) > coloursOf(level - 1) ||
                      flowersPerTurnOf(level) > flowersPerTurnOf(level - 1);
    return level > 20 && level % 4 == 1 && !step;
}

constexpr std::array<Holes, 4> kExtraHoles{Holes::Corners, Holes::Centre, Holes::CentreBlob,
                                           Holes::MiddleRowPair};

// The percentage that announces exactly n flowers on `cells` cells, or 0.
int percentFor(int n, int cells)
{
    for (int p = 1; p < 100; ++p)
        if (static_cast<int>(static_cast<double>(cells) / 100.0 * p) == n)
            return p;
    return 0;
}

struct Shape {
    std::vector<Position> cells;
    int percent = 0;
};

Shape shapeFor(int level, const LevelDesign::Design& d)
{
    std::vector<Holes> groups{d.centreHole ? Holes::Centre : Holes::None};
    for (std::size_t extra = 0;; ++extra) {
        Shape s;
        for (int r = 0; r < d.rows; ++r)
            for (int c = 0; c < rowLengthOf(r, d.rows, d.width); ++c)
                if (std::none_of(groups.begin(), groups.end(), [&](Holes g) {
                        return inGroup(g, {r, c}, d.rows, d.width);
                    }))
                    s.cells.push_back({r, c});
        s.percent = percentFor(d.flowersPerTurn, static_cast<int>(s.cells.size()));
        if (s.percent > 0)
            return s;
        if (extra == kExtraHoles.size())
            throw std::logic_error("level " + std::to_string(level) +
                                   ": no board gives the designed flowers per turn");
        groups.push_back(kExtraHoles[extra]);
    }
}

int lockedCount(const LevelDesign::Design& d, int cells)
{
    return d.lockedPermille > 0 ? std::max(1, cells * d.lockedPermille / 1000) : 0;
}

// Locked cells spread by a hash of the level; half-cleared cells make up
// whatever the design's work leaves over, on the rim first: a line through
// the rim ends there, and the last cells to hunt for should not all be there.
std::vector<char> cellTypes(int level, const LevelDesign::Design& d,
                            const std::vector<Position>& cells)
{
    const int n = static_cast<int>(cells.size());
    std::vector<char> types(static_cast<std::size_t>(n), '0');
    std::vector<int> order;
    for (int i = 0; i < n; ++i) {
        if (d.clearedCorners && isCorner(cells[static_cast<std::size_t>(i)], d.rows, d.width))
            types[static_cast<std::size_t>(i)] = '2';
        else
            order.push_back(i);
    }
    const auto byHash = [level](int a, int b) {
        return hash(level, a) < hash(level, b) || (hash(level, a) == hash(level, b) && a < b);
    };
    std::sort(order.begin(), order.end(), byHash);
    const int locked = lockedCount(d, n);
    const auto rimFirst = [&](int a, int b) {
        const int da = distanceFromCentre(cells[static_cast<std::size_t>(a)], d.rows, d.width);
        const int db = distanceFromCentre(cells[static_cast<std::size_t>(b)], d.rows, d.width);
        return da > db || (da == db && byHash(a, b));
    };
    std::sort(order.begin() + locked, order.end(), rimFirst);
    const int open = static_cast<int>(order.size());
    const int half = std::clamp(2 * open + locked - d.work, 0, open - locked);
    for (int i = 0; i < locked + half; ++i)
        types[static_cast<std::size_t>(order[static_cast<std::size_t>(i)])] =
            i < locked ? '4' : '1';
    return types;
}

// Leading holes in every row move the board right by whole cells, keeping
// the cell geometry; as many as bring its middle closest to the screen's.
int centringShift(const std::vector<Position>& cells, int rows)
{
    float left = 1.0e9f, right = -1.0e9f;
    for (const Position& p : cells) {
        const float x = static_cast<float>(std::abs(p.row - rows / 2)) * Field::kHalfWidth +
                        static_cast<float>(p.col) * Field::kCellWidth + Field::kOriginX;
        left = std::min(left, x);
        right = std::max(right, x);
    }
    const float gap = LevelDesign::kScreenCentreX - (left + right) / 2.0f;
    return std::max(0, static_cast<int>(std::lround(gap / Field::kCellWidth)));
}
// The smallest board that holds the work, so that few cells start half-cleared
// (those are quickly done), and never smaller than the last level's.
LevelDesign::Design laterDesign(int level)
{
    LevelDesign::Design d;
    d.work = workOf(level);
    d.colours = coloursOf(level);
    d.fillPercent = fillPercentOf(level);
    d.flowersPerTurn = flowersPerTurnOf(level);
    d.wildcardPercent = wildcardPercentOf(level);
    d.lockedPermille = lockedPermilleOf(level);
    d.centreHole = centreHoleOf(level);
    const LevelDesign::Design previous = LevelDesign::design(level - 1);
    auto board = std::find_if(kBoards.begin(), kBoards.end(), [&](const Board& b) {
        return b.rows == previous.rows && b.width == previous.width;
    });
    for (board = board == kBoards.end() ? kBoards.begin() : board;; ++board) {
        d.rows = board->rows;
        d.width = board->width;
        const int cells = static_cast<int>(shapeFor(level, d).cells.size());
        if (board + 1 == kBoards.end() || 2 * cells + lockedCount(d, cells) >= d.work)
            return d;
    }
}
} // namespace

LevelDesign::Design LevelDesign::design(int level)
{
    if (level <= kEarlyLevels) {
        const Early& e = kEarly[static_cast<std::size_t>(std::max(level, 1) - 1)];
        return {e.rows,           e.width,
                e.colours,        fillPercentOf(level),
                e.flowersPerTurn, wildcardPercentOf(level),
                e.lockedPermille, e.work,
                e.centreHole,     e.clearedCorners};
    }
    return laterDesign(level);
}

LevelFile LevelDesign::make(int level)
{
    const Design d = design(level);
    const Shape shape = shapeFor(level, d);
    const std::vector<char> types = cellTypes(level, d, shape.cells);
    const int shift = centringShift(shape.cells, d.rows);
    LevelFile f;
    f.numColours = d.colours;
    f.fillPercent = d.fillPercent;
    f.newFlowerPercent = shape.percent;
    f.wildcardPercent = d.wildcardPercent;
    f.rows = d.rows;
    f.width = d.width + shift;
    std::size_t next = 0;
    for (int r = 0; r < d.rows; ++r) {
        f.layout.append(static_cast<std::size_t>(shift), '.');
        for (int c = 0; c < rowLengthOf(r, d.rows, d.width); ++c) {
            const bool cell = next < shape.cells.size() && shape.cells[next].row == r &&
                              shape.cells[next].col == c;
            f.layout += cell ? types[next++] : '.';
        }
    }
    return f;
}
