// SPDX-License-Identifier: GPL-3.0-or-later
#include "LevelPlay.h"

#include <cstdlib>

namespace LevelPlay {

void clearBoard(Field& field)
{
    field.clearAnnounced();
    for (int r = 0; r < field.rows(); ++r)
        for (int c = 0; c < field.rowLength(r); ++c) {
            if (CellBack* back = field.cellBackAt(r, c))
                back->setType(CellType::Cleared);
            field.removeFlower(r, c);
        }
}

// Three colours in turn along every axis never make a row, whatever the
// level's colour count; flowers already there (random ones among them) go.
void fillBoard(Field& field)
{
    field.clearAnnounced();
    const int m = field.middleRow();
    for (int r = 0; r < field.rows(); ++r)
        for (int c = 0; c < field.rowLength(r); ++c) {
            if (!field.isCell(r, c))
                continue;
            const int across = (2 * c + std::abs(r - m) - r - m) / 2;
            field.removeFlower(r, c);
            field.placeFlower(r, c, ((across - r) % 3 + 3) % 3).makeIdle();
        }
}

} // namespace LevelPlay
