// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/LevelFile.h"

#include <algorithm>
#include <cstdio>

#include "board/HexGrid.h"
#include "utils/FatalError.h"
#include "utils/FilePack.h"

namespace {

// Digits at the cursor, then two line-end characters. An empty run leaves the
// value as it was. Values saturate instead of overflowing.
void readNumber(const char* bytes, std::size_t size, std::size_t& cursor, int& value)
{
    bool any = false;
    long long v = 0;
    while (cursor < size && bytes[cursor] >= '0' && bytes[cursor] <= '9') {
        if (v < 1000000000)
            v = v * 10 + (bytes[cursor] - '0');
        any = true;
        ++cursor;
    }
    if (any)
        value = static_cast<int>(v > 1000000000 ? 1000000000 : v);
    cursor += 2;
}

std::string checkLimits(const LevelFile& f)
{
    if (f.rows < 1 || f.rows > LevelFile::kMaxSize)
        return "the number of rows must be 1 to 120";
    // The point-to-cell mapping puts row boundaries half a row off the
    // centres only when the middle row is a true middle.
    if (f.rows % 2 == 0)
        return "the number of rows must be odd";
    if (f.width < 1 || f.width > LevelFile::kMaxSize)
        return "the longest row must have 1 to 120 cells";
    if (f.width <= f.rows / 2)
        return "the longest row is too short for the number of rows";
    if (f.numColours < 1 || f.numColours > LevelFile::kMaxColours)
        return "the number of colours must be 1 to 13";
    return {};
}

} // namespace

int LevelFile::positionCount() const
{
    int n = 0;
    for (int r = 0; r < rows; ++r)
        n += rowLengthOf(r, rows, width);
    return n;
}

LevelFile::Parsed LevelFile::parse(const char* bytes, std::size_t size)
{
    LevelFile f;
    std::size_t cursor = 0;
    for (int* value : {&f.numColours, &f.fillPercent, &f.newFlowerPercent, &f.wildcardPercent,
                       &f.rows, &f.width})
        readNumber(bytes, size, cursor, *value);
    std::string error = checkLimits(f);
    if (!error.empty())
        return {std::nullopt, error};
    if (cursor < size) {
        const std::size_t wanted = static_cast<std::size_t>(f.positionCount());
        f.layout.assign(bytes + cursor, std::min(size - cursor, wanted));
    }
    return {std::move(f), {}};
}

std::string LevelFile::fileName(int level)
{
    char name[32];
    std::snprintf(name, sizeof name, "levels/level%03d.txt", level);
    return name;
}

LevelFile LevelFile::load(int level)
{
    const std::string name = fileName(level);
    std::optional<PackEntry> entry =
        packExists("main") ? getPack("main").findFile(name) : std::nullopt;
    if (!entry)
        FatalError::raise("level file present", "board/LevelFile", name);
    Parsed parsed = parse(entry->chars(), entry->data.size());
    if (!parsed.level)
        FatalError::raise(parsed.error, "board/LevelFile", name);
    return std::move(*parsed.level);
}

std::string LevelFile::text() const
{
    std::string out;
    for (int v : {numColours, fillPercent, newFlowerPercent, wildcardPercent, rows, width})
        out += std::to_string(v) + "\r\n";
    return out + layout;
}
