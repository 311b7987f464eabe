// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/Field.h"

// Board edits that bring a real level to its end quickly.
namespace LevelPlay {

// Every cell cleared and no flower left: the next update wins the level.
void clearBoard(Field& field);
// Every cell gets an idle flower and no row forms: the board is full.
void fillBoard(Field& field);

} // namespace LevelPlay
