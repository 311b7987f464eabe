#pragma once

#include "board/Field.h"

// Board edits that bring a real level to its end quickly.
namespace LevelPlay {

// Every cell cleared and no flower left: the next update wins the level.
void clearBoard(Field& field);
// Every free cell gets an idle flower that makes no row: the board is full.
void fillBoard(Field& field);

} // namespace LevelPlay
