// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio/MixRun.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Renders a module through the real player and a deviceless wave output,
// block by block as a device would play the ring.
struct MusicRender {
    std::vector<std::int16_t> frames; // interleaved stereo, 44100 Hz
    double seconds = 0.0;             // rendered duration
    bool loaded = false;
    bool songEnded = false; // the sequencer passed the last order
};

// A song that never ends is cut here when no limit is given.
inline constexpr double kLongestRender = 600.0;

// Stops at the song's end or after maxSeconds (kLongestRender when <= 0).
MusicRender renderModule(const std::uint8_t* bytes, std::size_t size, double maxSeconds,
                         int volume = 64, MixLoops loops = MixLoops::Vector);

bool writeWaveFile(const std::string& path, const std::vector<std::int16_t>& frames);
