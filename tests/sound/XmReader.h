#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// An independent XM reader for the tests: what a player needs to know about a module.
struct XmInfo {
    unsigned songLength = 0, restart = 0, channels = 0, patternCount = 0, instrumentCount = 0;
    unsigned flags = 0, speed = 0, bpm = 0;
    std::vector<unsigned> orders;
    struct Cell {
        unsigned note, instrument, volume, effect, param;
    };
    struct Pattern {
        unsigned rows = 0;
        std::vector<Cell> cells;
    };
    struct Instrument {
        unsigned samples = 0, volumePoints = 0, panningPoints = 0, volumeType = 0, panningType = 0;
        unsigned fadeout = 0;
        unsigned length = 0, loopStart = 0, loopLength = 0, type = 0, volume = 0;
        int relativeNote = 0;
        std::vector<int16_t> data; // absolute values
    };
    std::vector<Pattern> patterns;
    std::vector<Instrument> instruments;
};

std::optional<XmInfo> parseXm(const std::vector<uint8_t>& bytes, std::string& problem);

// Seconds to the song's end, following speed, tempo and pattern breaks (D00).
double xmSeconds(const XmInfo& xm);
