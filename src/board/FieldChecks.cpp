// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/Field.h"

#include <set>

std::string Field::invariantFault() const
{
    std::set<const Flower*> seen;
    for (int r = 0; r < kMaxSize; ++r) {
        for (int c = 0; c < kMaxSize; ++c) {
            const Flower* f = (*m_flowers)[r][c].get();
            if (!f)
                continue;
            if (!isCell(r, c))
                return "a flower stands on a hole";
            if (!seen.insert(f).second)
                return "a flower stands on two cells";
            if (f->colour() < 0 || (f->colour() >= m_numColours && !isWildcard(f->colour())))
                return "a flower has a colour the level does not have";
        }
    }
    for (const auto& f : m_newCells) {
        if (!isCell(cellUnder(f->position())))
            return "an announced flower is not on a cell";
        if (seen.count(f.get()))
            return "an announced flower is also on the board";
    }
    for (const GridPos& p : m_placing)
        if (!isCell(p))
            return "a placed flower waits on a hole";
    if (m_streak < 0 || m_streak > 4)
        return "the streak is out of range";
    return {};
}
