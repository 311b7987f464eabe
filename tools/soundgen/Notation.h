// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace soundgen {

// A note name such as "c4", "f#5" or "bb2" as an XM note number (C-0 is 1); none if malformed.
std::optional<int> parseNoteName(const std::string& text);

struct Chord {
    int root = 0;               // semitone, C = 0
    std::vector<int> intervals; // semitones above the root, ascending, the root's 0 first
};

// A chord symbol: root letter, optional # or b, then "", m, 7, maj7, m7, 6, m6, 9, m9, maj9,
// add9, sus2, sus4, dim, aug or m7b5.
std::optional<Chord> parseChord(const std::string& text);

// The chord tones with the root placed at or just above base (an XM note), ascending.
std::vector<int> chordTonesFrom(const Chord& chord, int base);

// One token of a line: a head (note, chord, rest "-", key off "=") with optional suffixes
// ":rows", "@volume", "/Epp" (effect on the first row) and "*Epp" (effect on every row).
struct Token {
    std::string head;
    int rows = 0; // 0: the line's previous length
    int volume = -1;
    uint8_t effect = 0, param = 0;
    bool effectEveryRow = false;
    bool hasEffect = false;
};

// Parses a token; on failure returns none and says why.
std::optional<Token> parseToken(const std::string& text, std::string& problem);

// "A04" style effect: the tracker's effect letter (0-9, A-Z) and a two-digit hex parameter.
bool parseEffect(const std::string& text, uint8_t& effect, uint8_t& param);

} // namespace soundgen
