// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace soundgen {

// The module as written to an XM file; one sample per instrument is all the game's music needs.
constexpr uint8_t kKeyOff = 97;

struct XmCell {
    uint8_t note = 0;       // 1..96, kKeyOff, 0 none
    uint8_t instrument = 0; // 1-based, 0 none
    uint8_t volume = 0;     // volume column byte
    uint8_t effect = 0;
    uint8_t param = 0;

    bool hasEffect() const { return effect != 0 || param != 0; }
};

struct XmPattern {
    std::string name;
    int rows = 64;
    std::vector<XmCell> cells; // rows x channels, row-major

    XmCell& at(int row, int channel, int channels) { return cells[row * channels + channel]; }
    const XmCell& at(int row, int channel, int channels) const
    {
        return cells[row * channels + channel];
    }
};

struct XmEnvelopePoint {
    uint16_t tick = 0;
    uint16_t value = 0;
};

struct XmEnvelope {
    std::vector<XmEnvelopePoint> points; // at most 12
    int sustain = -1;                    // point index, -1 none
    int loopStart = -1, loopEnd = -1;

    bool enabled() const { return points.size() >= 2; }
};

enum class XmLoop { None, Forward, PingPong };

struct XmSample {
    std::vector<int16_t> data;
    uint32_t loopStart = 0, loopLength = 0;
    XmLoop loop = XmLoop::None;
    uint8_t volume = 64;
    int8_t finetune = 0;
    uint8_t panning = 128;
    int8_t relativeNote = 0;
};

struct XmInstrument {
    std::string name;
    XmSample sample;
    XmEnvelope volumeEnvelope, panningEnvelope;
    uint8_t vibratoType = 0, vibratoSweep = 0, vibratoDepth = 0, vibratoRate = 0;
    uint16_t fadeout = 0;
};

struct XmModule {
    std::string name;
    int channels = 8;
    int speed = 6;
    int bpm = 125;
    int restart = 0;
    std::vector<uint8_t> orders;
    std::vector<XmPattern> patterns;
    std::vector<XmInstrument> instruments;
};

// The module as XM 1.04 bytes (linear frequency table, packed patterns, delta samples).
std::vector<uint8_t> writeXm(const XmModule& module);

} // namespace soundgen
