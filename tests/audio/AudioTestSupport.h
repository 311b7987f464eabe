// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "XmBuilder.h"
#include "audio/MusicModule.h"
#include "audio/XmLoader.h"
#include "audio/XmSequencer.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace audiotest {

inline void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

// Builds RIFF/WAVE files chunk by chunk, with sizes as the test declares them.
struct WavBytes {
    std::vector<std::uint8_t> bytes;

    void put16(int v)
    {
        bytes.push_back(std::uint8_t(v));
        bytes.push_back(std::uint8_t(v >> 8));
    }
    void put32(std::uint32_t v)
    {
        put16(int(v & 0xFFFF));
        put16(int(v >> 16));
    }
    void tag(const char* t) { bytes.insert(bytes.end(), t, t + 4); }
    void riff(std::uint32_t declared = 0xFFFFFFFF)
    {
        tag("RIFF");
        put32(declared);
        tag("WAVE");
    }
    void fmt(int tagValue, int channels, int rate, int bits, std::vector<std::uint8_t> extra = {},
             std::uint32_t declared = 0)
    {
        const bool pcm = tagValue == 1;
        tag("fmt ");
        put32(declared ? declared : std::uint32_t(pcm ? 16 : 18 + extra.size()));
        put16(tagValue);
        put16(channels);
        put32(std::uint32_t(rate));
        put32(std::uint32_t(rate * channels * bits / 8));
        put16(channels * bits / 8);
        put16(bits);
        if (!pcm) {
            put16(int(extra.size()));
            bytes.insert(bytes.end(), extra.begin(), extra.end());
        }
    }
    void data(const std::vector<std::uint8_t>& contents, std::uint32_t declared)
    {
        tag("data");
        put32(declared);
        bytes.insert(bytes.end(), contents.begin(), contents.end());
    }
    // Sets the RIFF size to what the finished file holds.
    void closeRiff() { patch32(4, std::uint32_t(bytes.size() - 8)); }
    void patch32(std::size_t at, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i) {
            bytes[at + i] = std::uint8_t(v >> (8 * i));
        }
    }
};

inline std::unique_ptr<MusicModule> load(const XmBuilder& builder, int volume = 64)
{
    const std::vector<std::uint8_t> bytes = builder.build();
    return loadXmModule(bytes.data(), bytes.size(), volume);
}

// Pitch of one channel of interleaved stereo from its rising zero crossings.
inline double pitch(const std::vector<std::int16_t>& frames, int channel, std::size_t from,
                    std::size_t to)
{
    int crossings = 0;
    for (std::size_t i = from + 1; i < to; ++i) {
        if (frames[2 * (i - 1) + channel] < 0 && frames[2 * i + channel] >= 0) {
            ++crossings;
        }
    }
    return crossings * 44100.0 / double(to - from);
}

inline double rms(const std::vector<std::int16_t>& frames, int channel, std::size_t from,
                  std::size_t to)
{
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) {
        const double v = frames[2 * i + channel];
        sum += v * v;
    }
    return std::sqrt(sum / double(to - from));
}

// A module of one channel playing note C-4 of a 64-sample sine on row 0.
inline XmBuilder toneModule(int rows = 16, int pan = 128)
{
    XmBuilder b(1);
    XmBuilder::Sample sine = XmBuilder::sineSample(64);
    sine.panning = pan;
    b.addInstrument(sine);
    b.addPattern(rows);
    b.cell(0, 0, 0) = {49, 1, 0, 0, 0};
    return b;
}

} // namespace audiotest
