// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/HexGrid.h"

class Field;

enum class CursorStep { Left, Right, Up, Down };

// The keyboard's place on the board. Left and Right walk along the row over
// holes; Up and Down keep to the column the player started from, so repeated
// presses zigzag between the two diagonal neighbours instead of drifting.
// The cursor only ever rests on a cell.
class CellCursor {
public:
    // The board's middle cell, or the real cell nearest to it.
    void reset(const Field& field);
    // False when the board has no cell that way (the cursor stays).
    bool step(const Field& field, CursorStep direction);
    // Keeps the position while it is a cell of this board, else resets.
    void fitTo(const Field& field);

    GridPos position() const { return m_position; }

private:
    bool stepAlongRow(const Field& field, int dc);
    bool stepAcrossRows(const Field& field, int dr);
    void moveTo(const Field& field, GridPos to);

    GridPos m_position;
    // The x the vertical walk keeps to; set by every move along a row.
    float m_columnX = 0.0f;
};
