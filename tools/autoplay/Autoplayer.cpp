// SPDX-License-Identifier: GPL-3.0-or-later
#include "Autoplayer.h"

#include <algorithm>
#include <vector>

namespace {
int wearOf(const CellBack* back)
{
    switch (back->type()) {
    case CellType::Raw:
        return 2;
    case CellType::HalfCleared:
        return 1;
    case CellType::Locked:
        return 3;
    case CellType::Cleared:
        return 0;
    }
    return 0;
}

constexpr int kBoardClearAward = 25000;

bool sameKind(int a, int colour)
{
    return a != kNoColour && (isWildcard(a) || a == colour);
}
} // namespace

Autoplayer::Autoplayer(std::uint32_t seed, Options options) : m_random(seed), m_options(options) {}

Autoplayer::Result Autoplayer::play(Field& field)
{
    Result result;
    m_startScore = field.score();
    while (!field.isLevelOver() && result.moves < m_options.maxMoves && result.fault.empty()) {
        if (field.finished() && field.state() == FieldState::Finished && !field.exitStarted())
            field.onClick(400.0f, 300.0f);
        if (readyForMove(field)) {
            const Move move = chooseMove(field);
            if (move.value < 0)
                break;
            field.selectAt(move.from.row, move.from.col);
            field.previewPath(field.cellCentre(move.to.row, move.to.col));
            field.moveSelectedTo(move.to.row, move.to.col);
            field.deselectAll();
            ++result.moves;
            result.movesOnLastTenth += onLastTenth(field);
        }
        advance(field, result);
    }
    result.won = field.succeeded();
    result.score = field.score();
    return result;
}

void Autoplayer::advance(Field& field, Result& result)
{
    const int before = field.score();
    const Field::Statistics stats = field.statistics();
    maybeShootInsect(field);
    field.update(m_options.dt);
    ++result.updates;
    // No burst of one update comes near the board-clear award.
    if (result.boardClearMove == 0 && field.score() - before >= kBoardClearAward)
        result.boardClearMove = std::max(1, result.moves);
    if (m_options.checkInvariants && result.fault.empty())
        result.fault = checkInvariants(field, before, stats);
}

bool Autoplayer::readyForMove(const Field& field) const
{
    if (field.state() != FieldState::Idle || field.finished() || field.effectCount() > 0 ||
        field.insectActive())
        return false;
    for (int r = 0; r < field.rows(); ++r)
        for (int c = 0; c < field.rowLength(r); ++c)
            if (const Flower* f = field.flowerAt(r, c); f && !f->isIdle())
                return false;
    return true;
}

bool Autoplayer::onLastTenth(const Field& field)
{
    int uncleared = 0;
    for (int r = 0; r < field.rows(); ++r)
        for (int c = 0; c < field.rowLength(r); ++c)
            if (const CellBack* back = field.cellBackAt(r, c);
                back && back->type() != CellType::Cleared)
                ++uncleared;
    return uncleared * 10 <= field.cellCount();
}

// One decision per insect: either it is shot on its way in, or it is left to land.
void Autoplayer::maybeShootInsect(Field& field)
{
    const Insect* insect = field.insect();
    if (!insect || insect->landings() > 0)
        return;
    if (insect != m_judgedInsect) {
        m_judgedInsect = insect;
        m_willCatch = static_cast<int>(m_random() % 100) < m_options.catchPercent;
    }
    // Aimed once it is close to its flower, or at the latest while it sits there.
    const bool inReach = (insect->state() == InsectState::Flying &&
                          length(insect->target() - insect->position()) < 200.0f) ||
                         insect->state() == InsectState::Waiting;
    if (m_willCatch && inReach)
        field.onClick(insect->position().x, insect->position().y);
}

Autoplayer::Move Autoplayer::chooseMove(const Field& field)
{
    return m_options.style == Style::Careless ? randomMove(field) : bestMove(field);
}

Autoplayer::Move Autoplayer::bestMove(const Field& field)
{
    std::vector<Move> best;
    int bestValue = -1;
    for (int r = 0; r < field.rows(); ++r) {
        for (int c = 0; c < field.rowLength(r); ++c) {
            const Flower* f = field.flowerAt(r, c);
            if (!f || !f->isIdle() || field.cellBackAt(r, c)->type() == CellType::Locked)
                continue;
            for (int tr = 0; tr < field.rows(); ++tr) {
                for (int tc = 0; tc < field.rowLength(tr); ++tc) {
                    if (!field.isCell(tr, tc) || field.flowerAt(tr, tc))
                        continue;
                    const int v = valueOf(field, {r, c}, {tr, tc}, f->colour());
                    if (v > bestValue) {
                        bestValue = v;
                        best.clear();
                    }
                    if (v == bestValue)
                        best.push_back({{r, c}, {tr, tc}, v});
                }
            }
        }
    }
    // Reachability is checked only for the best candidates, one at a time.
    std::shuffle(best.begin(), best.end(), m_random);
    std::vector<GridPos> path;
    for (const Move& m : best)
        if (field.findPath(m.from.row, m.from.col, m.to.row, m.to.col, path))
            return m;
    return firstMove(field);
}

// A flower picked at random goes to a free cell picked at random among those it
// can reach; a flower that can reach none is put back and another is picked.
Autoplayer::Move Autoplayer::randomMove(const Field& field)
{
    std::vector<GridPos> flowers, free;
    for (int r = 0; r < field.rows(); ++r)
        for (int c = 0; c < field.rowLength(r); ++c) {
            if (!field.isCell(r, c))
                continue;
            if (!field.flowerAt(r, c))
                free.push_back({r, c});
            else if (field.cellBackAt(r, c)->type() != CellType::Locked)
                flowers.push_back({r, c});
        }
    std::shuffle(flowers.begin(), flowers.end(), m_random);
    std::vector<GridPos> path;
    for (const GridPos& from : flowers) {
        std::shuffle(free.begin(), free.end(), m_random);
        for (const GridPos& to : free)
            if (field.findPath(from.row, from.col, to.row, to.col, path))
                return {from, to, 0};
    }
    return {};
}

Autoplayer::Move Autoplayer::firstMove(const Field& field)
{
    std::vector<GridPos> path;
    for (int r = 0; r < field.rows(); ++r)
        for (int c = 0; c < field.rowLength(r); ++c) {
            if (!field.flowerAt(r, c) || field.cellBackAt(r, c)->type() == CellType::Locked)
                continue;
            for (int tr = 0; tr < field.rows(); ++tr)
                for (int tc = 0; tc < field.rowLength(tr); ++tc)
                    if (field.isCell(tr, tc) && !field.flowerAt(tr, tc) &&
                        field.findPath(r, c, tr, tc, path))
                        return {{r, c}, {tr, tc}, 0};
        }
    return {};
}

int Autoplayer::runLength(const Field& field, GridPos from, GridPos at, int colour, Direction d,
                          int& wear) const
{
    int n = 0;
    for (GridPos p = step(at, d, field.middleRow()); field.isCell(p);
         p = step(p, d, field.middleRow())) {
        if (p == from || !sameKind(field.colourAt(p.row, p.col), colour))
            break;
        const Flower* f = field.flowerAt(p.row, p.col);
        if (!f->isIdle())
            break;
        wear += wearOf(field.cellBackAt(p.row, p.col));
        ++n;
    }
    return n;
}

// A wildcard takes the colour of its first neighbour along the axis.
int Autoplayer::axisColour(const Field& field, GridPos from, GridPos to, int colour,
                           const std::array<Direction, 2>& axis) const
{
    if (!isWildcard(colour))
        return colour;
    for (Direction d : axis) {
        const GridPos n = step(to, d, field.middleRow());
        const int c = field.colourAt(n.row, n.col);
        if (!(n == from) && c != kNoColour && !isWildcard(c))
            return c;
    }
    return kWildcard;
}

int Autoplayer::valueOf(const Field& field, GridPos from, GridPos to, int mover) const
{
    int value = 0;
    for (const auto& axis : kHex.lineAxes) {
        const int colour = axisColour(field, from, to, mover, axis);
        int wear = wearOf(field.cellBackAt(to.row, to.col));
        const int n = 1 + runLength(field, from, to, colour, axis[0], wear) +
                      runLength(field, from, to, colour, axis[1], wear);
        if (n >= 3)
            value += 1000 + wear * 20 + n * 10;
        else if (n == 2)
            value += 30 + wear * 3;
    }
    // Leaving a worn cell is better than leaving a cleared one.
    value += wearOf(field.cellBackAt(from.row, from.col));
    return value;
}

std::string Autoplayer::checkInvariants(const Field& field, int lastScore,
                                        const Field::Statistics& last) const
{
    if (field.score() < lastScore)
        return "score fell";
    if (const std::string fault = field.invariantFault(); !fault.empty())
        return fault;
    const Field::Statistics& s = field.statistics();
    if (s.m_statBallsExploded < last.m_statBallsExploded || s.m_statChains < last.m_statChains ||
        s.m_statTimeOnLevel < last.m_statTimeOnLevel)
        return "a statistic fell";
    if (field.score() - m_startScore != s.m_statScoreOnLevel)
        return "the level's score does not add up to the total";
    if (s.m_statChains > s.m_statBallsExploded || s.m_statScoreOnLevel < 10 * s.m_statBallsExploded)
        return "statistics inconsistent";
    if (!field.succeeded() && (s.m_statTimeBonus != 0 || s.m_statChainBonus != 0))
        return "bonuses without a win";
    return {};
}
