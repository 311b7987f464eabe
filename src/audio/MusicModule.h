// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

enum class LoopType { None, Forward, PingPong };

struct XmSample {
    std::int32_t length = 0; // in samples, like the loop values
    std::int32_t loopStart = 0;
    std::int32_t loopLength = 0;
    int volume = 0;
    int finetune = 0;
    LoopType loop = LoopType::None;
    int panning = 128;
    int relativeNote = 0;
    bool sixteenBit = false;
    // Absolute values with one guard value after the loop end.
    std::vector<std::int16_t> data;

    std::int32_t loopEnd() const { return loopStart + loopLength; }
};

struct XmEnvelope {
    static constexpr int kMaxPoints = 12;
    std::array<std::uint16_t, kMaxPoints> position{};
    std::array<std::uint16_t, kMaxPoints> value{};
    int points = 0;
    int sustain = 0;
    int loopStart = 0;
    int loopEnd = 0;
    bool on = false;
    bool sustainOn = false;
    bool loopOn = false;
};

struct XmInstrument {
    static constexpr int kMaxSamples = 16;
    std::array<std::uint8_t, 96> noteSample{};
    XmEnvelope volumeEnvelope;
    XmEnvelope panningEnvelope;
    int vibratoType = 0;
    int vibratoSweep = 0;
    int vibratoDepth = 0;
    int vibratoRate = 0;
    int fadeout = 0; // stored doubled
    std::vector<XmSample> samples;
};

struct XmCell {
    std::uint8_t note = 0; // 1..96, 255 key off
    std::uint8_t instrument = 0;
    std::uint8_t volume = 0;
    std::uint8_t effect = 0;
    std::uint8_t param = 0;
};

struct XmPattern {
    int rows = 64;
    std::vector<XmCell> cells; // rows x heard channels
};

// Running state of one envelope: point index, tick counter, 16.16 value.
struct EnvelopeState {
    int point = 0;
    int tick = 0;
    std::int32_t value = 0;
    std::int32_t slope = 0;
};

namespace ChannelFlag {
inline constexpr unsigned StartSample = 1;
inline constexpr unsigned Volume = 2;
inline constexpr unsigned Panning = 4;
inline constexpr unsigned Frequency = 8;
inline constexpr unsigned Stop = 16;
} // namespace ChannelFlag

struct ChannelState {
    int note = 0;
    int instrument = 0; // 1-based; 0 none
    const XmInstrument* instr = nullptr;
    XmSample* sample = nullptr; // effect E5 retunes the sample itself
    int period = 0;
    int periodDelta = 0;
    int targetPeriod = 0;
    int portaSpeed = 0;
    int volume = 0;
    int volumeDelta = 0;
    int panning = 128;
    EnvelopeState volumeEnvelope;
    EnvelopeState panningEnvelope;
    int envelopeVolume = 64;
    int envelopePanning = 32;
    int fadeoutVolume = 65536;
    bool keyOff = false;
    int autoVibratoPosition = 0;
    int autoVibratoSweep = 0;

    int vibratoSpeed = 0;
    int vibratoDepth = 0;
    int vibratoPosition = 0;
    int vibratoWaveform = 0;
    int tremoloSpeed = 0;
    int tremoloDepth = 0;
    int tremoloPosition = 0;
    int tremoloWaveform = 0;
    int tremorOn = 1;
    int tremorOff = 1;
    int tremorCounter = 0;

    int portaUpMemory = 0;
    int portaDownMemory = 0;
    int volumeSlideMemory = 0;
    int finePortaUpMemory = 0;
    int finePortaDownMemory = 0;
    int fineVolumeMemory = 0;
    int panningSlideMemory = 0;
    int multiRetrigMemory = 0;
    int extraFineUpMemory = 0;
    int extraFineDownMemory = 0;
    int offsetMemory = 0;
    std::int32_t sampleOffset = 0;

    int loopRow = 0;
    int loopCount = 0;
    bool notePending = false; // a delayed note waits for its tick

    XmCell cell;            // the row's cell
    int previousEffect = 0; // effect of the row before
    unsigned flags = 0;
    int voice = 0;
};

enum class FrequencyTable { Amiga, Linear };

struct PlaybackState {
    int order = 0;
    int row = 0;
    int tick = 0;
    int speed = 6;
    int bpm = 125;
    int samplesPerTick = 882;
    int samplesLeft = 0;
    int globalVolume = 64;
    int globalSlideMemory = 0;
    int patternDelay = 0;
    int nextOrder = -1;
    int nextRow = -1;
    bool playing = false;
    bool endPending = false; // the last row of the song is playing
    // Frames mixed since the start (the song's running time).
    std::uint64_t framesPlayed = 0;
};

// A loaded XM module: its song, patterns, instruments and playback state.
class MusicModule {
public:
    static constexpr int kMaxChannels = 32;
    static constexpr int kMaxRows = 256;

    int songLength = 1;
    int restartPosition = 0;
    int channels = 0; // as stored in the file
    int storedPatterns = 0;
    FrequencyTable table = FrequencyTable::Amiga;
    int defaultSpeed = 6;
    int defaultBpm = 125;
    std::array<std::uint8_t, 256> orders{};
    std::vector<XmPattern> patterns;
    std::vector<XmInstrument> instruments;
    XmSample emptySample;
    int startingGlobalVolume = 64;

    PlaybackState state;
    std::array<ChannelState, kMaxChannels> channel{};

    int heardChannels() const { return channels < kMaxChannels ? channels : kMaxChannels; }
    const XmCell& cellAt(const XmPattern& pattern, int row, int channelIndex) const
    {
        return pattern.cells[static_cast<std::size_t>(row) * heardChannels() + channelIndex];
    }
};

// Samples per tick at a tempo, as the mixer counts them (882 at 125 BPM).
int samplesPerTickFor(int bpm);
