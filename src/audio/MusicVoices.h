// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio/MixRun.h"
#include "audio/MusicModule.h"

#include <array>
#include <cstdint>

// One mixing voice: a sample played at a 32.32 fixed-point position and step
// with left and right gains that change only through 128-frame ramps.
struct Voice {
    const XmSample* sample = nullptr;
    std::int64_t position = 0; // 32.32 fixed point, in samples
    std::int64_t step = 0;
    bool backward = false;
    bool fading = false; // handed over; dropped once silent
    int targetLeft = 0;
    int targetRight = 0;
    float gainLeft = 0.0f;
    float gainRight = 0.0f;
    float rampLeft = 0.0f;
    float rampRight = 0.0f;
    int rampFrames = 0;
};

// The 64 voices of the player: module channel c plays on voice c and hands
// a sounding note to voice c +/- 32 when a new one starts.
class MusicVoices {
public:
    static constexpr int kVoices = 64;
    static constexpr int kRampFrames = 128;
    static constexpr int kRate = 44100;
    // Runs in a row that may mix nothing (turns at loop edges) before a voice is dropped.
    static constexpr int kMaxIdleRuns = 4;

    void reset();
    // Applies the change flags the last tick left on every heard channel.
    void update(MusicModule& module);
    // Adds count frames of every voice to interleaved stereo floats.
    void mix(float* out, int count);
    void setLoops(MixLoops loops) { m_loops = loops; }

    const Voice& voice(int index) const { return m_voices[index]; }
    Voice& voice(int index) { return m_voices[index]; }

    // The voice gain for a channel (0..127 at full level).
    static int channelGain(const ChannelState& channel, int globalVolume);
    static int channelPanning(const ChannelState& channel);
    static int channelFrequency(const ChannelState& channel, FrequencyTable table);

private:
    void startSample(ChannelState& channel);
    void releaseVoice(ChannelState& channel);
    void setGains(Voice& voice, int gain, int panning);
    void mixVoice(Voice& voice, float* out, int count);
    int mixRun(Voice& voice, float* out, int count);
    void wrapAtEnd(Voice& voice);
    static void endRamp(Voice& voice);

    std::array<Voice, kVoices> m_voices{};
    MixLoops m_loops = MixLoops::Vector;
};
