// SPDX-License-Identifier: GPL-3.0-or-later
// Level files: the parser must refuse what the board tables cannot hold, and
// whatever it accepts must build a board that runs a few turns soundly.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "board/Field.h"
#include "board/LevelFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const LevelFile::Parsed parsed = LevelFile::parse(reinterpret_cast<const char*>(data), size);
    if (!parsed.level)
        return 0;
    if (parsed.level->rows > 40 || parsed.level->width > 40)
        return 0; // big boards are covered by the benchmarks; keep each run short
    FieldListener unwatched;
    Field field(*parsed.level, 7, true, 1, unwatched);
    for (int i = 0; i < 60; ++i) {
        field.update(33.0f);
        if (i == 40) {
            const GridPos from = field.cellUnder(field.cellCentre(0, 0));
            field.selectAt(from.row, from.col);
            field.moveSelectedTo(field.rows() / 2, field.rowLength(field.rows() / 2) - 1);
            field.onClick(400.0f, 300.0f);
        }
    }
    if (!field.invariantFault().empty())
        std::abort();
    return 0;
}
