// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>

// One level's description: six numbers, each followed by CR LF, then one
// layout character per position of the hexagon, row-major, no separators.
struct LevelFile {
    static constexpr int kMaxSize = 120;
    static constexpr int kMaxColours = 13;

    int numColours = 0;
    int fillPercent = 0;
    int newFlowerPercent = 0;
    int wildcardPercent = 0;
    int rows = 0;  // H
    int width = 0; // W, the middle row's length
    std::string layout;

    // The layout character of a position; past the end of the layout is a hole.
    char layoutAt(std::size_t index) const { return index < layout.size() ? layout[index] : ' '; }
    int positionCount() const;

    struct Parsed;
    // Never fails on bytes alone; a board the tables cannot hold is refused with a reason.
    static Parsed parse(const char* bytes, std::size_t size);
    // Reads "levels/level%03d.txt" from the pack "main"; a missing or impossible
    // level ends the program through the fatal-error path, naming the file.
    static LevelFile load(int level);
    static std::string fileName(int level);
    // The file's bytes; numbers with CR LF, then the layout.
    std::string text() const;
};

struct LevelFile::Parsed {
    std::optional<LevelFile> level;
    std::string error; // set when level is empty
};
