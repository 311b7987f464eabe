// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/Field.h"

// No flower on its way or appearing, nothing bursting, no turn being placed:
// the player may make the next move.
inline bool boardQuiet(const Field& field)
{
    if (field.state() != FieldState::Idle || field.effectCount() != 0)
        return false;
    for (int r = 0; r < field.rows(); ++r)
        for (int c = 0; c < field.rowLength(r); ++c)
            if (const Flower* flower = field.flowerAt(r, c); flower && !flower->isIdle())
                return false;
    return true;
}
