// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio/MusicModule.h"
#include "audio/MusicVoices.h"
#include "audio/XmSequencer.h"
#include "platform/WaveOutput.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Mixes an XM module into the looping ring of a wave output. It has no
// thread: every pump mixes ahead up to the block the device is playing.
class MusicPlayer {
public:
    static constexpr int kRate = 44100;
    static constexpr int kBlockFrames = 884;
    static constexpr int kBlocks = 50;
    static constexpr int kRingFrames = kBlockFrames * kBlocks;
    static constexpr std::size_t kRingBytes = std::size_t(kRingFrames) * 4;

    MusicPlayer();
    ~MusicPlayer();

    // Opens the default device; false when there is none.
    bool openDevice();
    // Plays into the given output instead (a deviceless one for rendering).
    bool openDevice(std::unique_ptr<WaveOutput> output);
    void closeDevice();
    bool hasDevice() const { return m_output != nullptr; }
    WaveOutput* output() { return m_output.get(); }

    std::unique_ptr<MusicModule> loadFromMemory(const std::uint8_t* bytes, std::size_t size);
    // Stops the module if it plays, then releases it.
    void free(std::unique_ptr<MusicModule> module);
    bool play(MusicModule& module);
    bool stop(MusicModule& module);
    void pump();
    bool isPlaying() const;
    void setVolume(int volume);
    int volume() const { return m_masterVolume; }
    // The game mixes with the vector loops; tests compare the scalar ones.
    void setMixLoops(MixLoops loops);

    // True once the sequencer has passed the last order of the current song.
    bool songEnded() const { return m_songEnded; }
    const MusicModule* current() const { return m_current; }
    const MusicVoices& voices() const { return m_voices; }

private:
    void stopPlayback();
    void fillBlock();
    void mixFrames(int frames);
    void writeBlock(int block);
    int heardBlock() const;
    void drain();

    std::unique_ptr<WaveOutput> m_output;
    MusicModule* m_current = nullptr;
    std::unique_ptr<XmSequencer> m_sequencer;
    MusicVoices m_voices;
    std::vector<float> m_mix;
    std::vector<std::int16_t> m_block;
    int m_fillCursor = 0;
    int m_masterVolume = 64;
    MixLoops m_loops = MixLoops::Vector;
    bool m_filling = false;
    bool m_stopRequested = false;
    bool m_songEnded = false;
    long m_drainFrames = 0;
    long m_endRingFrame = 0; // ring frame just after the song's last one
    std::size_t m_lastPosition = 0;
};
