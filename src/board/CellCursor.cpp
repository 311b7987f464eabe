// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/CellCursor.h"

#include "board/Field.h"

#include <cmath>

namespace {

// The cell of row r nearest to x; of two equally near, the western one.
bool nearestInRow(const Field& field, int r, float x, GridPos& found)
{
    float best = 0.0f;
    bool any = false;
    for (int c = 0; c < field.rowLength(r); ++c) {
        if (!field.isCell(r, c))
            continue;
        const float distance = std::fabs(field.cellCentre(r, c).x - x);
        if (!any || distance < best) {
            best = distance;
            found = {r, c};
            any = true;
        }
    }
    return any;
}

} // namespace

// The middle of the cells themselves (a layout need not fill its hexagon
// evenly); of cells equally near, the first in reading order.
void CellCursor::reset(const Field& field)
{
    Vec4 sum;
    int count = 0;
    for (int r = 0; r < field.rows(); ++r)
        for (int c = 0; c < field.rowLength(r); ++c)
            if (field.isCell(r, c)) {
                sum += field.cellCentre(r, c);
                ++count;
            }
    m_position = {};
    if (count == 0)
        return;
    const Vec4 middle = sum * (1.0f / float(count));
    float best = -1.0f;
    for (int r = 0; r < field.rows(); ++r)
        for (int c = 0; c < field.rowLength(r); ++c) {
            const float distance = length(field.cellCentre(r, c) - middle);
            if (field.isCell(r, c) && (best < 0.0f || distance < best - 0.01f)) {
                best = distance;
                m_position = {r, c};
            }
        }
    moveTo(field, m_position);
}

void CellCursor::fitTo(const Field& field)
{
    if (!field.isCell(m_position))
        reset(field);
}

bool CellCursor::step(const Field& field, CursorStep direction)
{
    switch (direction) {
    case CursorStep::Left:
        return stepAlongRow(field, -1);
    case CursorStep::Right:
        return stepAlongRow(field, 1);
    case CursorStep::Up:
        return stepAcrossRows(field, -1);
    case CursorStep::Down:
        return stepAcrossRows(field, 1);
    }
    return false;
}

bool CellCursor::stepAlongRow(const Field& field, int dc)
{
    const int r = m_position.row;
    for (int c = m_position.col + dc; c >= 0 && c < field.rowLength(r); c += dc)
        if (field.isCell(r, c)) {
            moveTo(field, {r, c});
            return true;
        }
    return false;
}

// The nearest cell to the kept column in the next row that has any cell.
// From the column itself both diagonals are equally near and the western one
// is taken; from there the eastern one leads back: a straight zigzag.
bool CellCursor::stepAcrossRows(const Field& field, int dr)
{
    for (int r = m_position.row + dr; r >= 0 && r < field.rows(); r += dr) {
        GridPos found;
        if (nearestInRow(field, r, m_columnX, found)) {
            m_position = found;
            return true;
        }
    }
    return false;
}

void CellCursor::moveTo(const Field& field, GridPos to)
{
    m_position = to;
    m_columnX = field.cellCentre(to.row, to.col).x;
}
