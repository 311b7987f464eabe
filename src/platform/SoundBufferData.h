// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/WaveFormat.h"

#include <cstdint>
#include <vector>

// The sound data that a buffer and its duplicates share: the bytes in the
// file's own format and the same sound converted for the 44100 Hz stereo output.
struct SoundBufferData {
    WaveFormat format;
    std::vector<std::uint8_t> extra;
    std::vector<std::uint8_t> bytes;
    std::vector<std::int16_t> converted; // interleaved stereo

    void convert();
    std::size_t outputFrames() const { return converted.size() / 2; }
    std::size_t outputFrameFor(std::uint32_t bytePosition) const;
    static bool isPlayable(const WaveFormat& format, const std::vector<std::uint8_t>& extra);

private:
    float sampleAt(std::size_t frame, int channel) const;
};
