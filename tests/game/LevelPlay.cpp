#include "LevelPlay.h"

namespace LevelPlay {

void clearBoard(Field& field) {
    field.clearAnnounced();
    for (int r = 0; r < field.rows(); ++r)
        for (int c = 0; c < field.rowLength(r); ++c) {
            if (CellBack* back = field.cellBackAt(r, c))
                back->setType(CellType::Cleared);
            field.removeFlower(r, c);
        }
}

void fillBoard(Field& field) {
    field.clearAnnounced();
    for (int r = 0; r < field.rows(); ++r)
        for (int c = 0; c < field.rowLength(r); ++c) {
            if (!field.isCell(r, c) || field.flowerAt(r, c))
                continue;
            int colour = 0;
            while (colour + 1 < field.numColours() && field.wouldFormLine(r, c, colour))
                ++colour;
            field.placeFlower(r, c, colour).makeIdle();
        }
}

} // namespace LevelPlay
