// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

// Something the output thread mixes: it adds interleaved stereo frames into
// 32-bit accumulators, always under the output lock.
class AudioSource {
public:
    virtual ~AudioSource() = default;
    virtual void mixInto(std::int32_t* frames, int count) = 0;
};

// The one SDL output device (44100 Hz, 16-bit stereo, 512-frame buffer),
// shared by the sound effects and the music. Opened by its first user and
// closed after its last one leaves.
class AudioOutput {
public:
    static constexpr int kRate = 44100;
    static constexpr int kBufferFrames = 512;

    // The shared output, or nothing when no device can be opened (or the
    // driver is SDL's dummy one).
    static AudioOutput* acquire();
    static void release(AudioOutput* output);
    // Why the last acquire gave nothing: empty when the player chose no
    // output (SDL's dummy driver), else the library's reason.
    static const std::string& failureReason();

    void addSource(AudioSource& source);
    void removeSource(AudioSource& source);
    void lock();
    void unlock();

    // Mixes every source into 16-bit output; the device callback's work.
    void render(std::int16_t* out, int frames);
    // Sums beyond 16 bits saturate: loud moments clip instead of wrapping round.
    static void toPcm(const std::int32_t* sums, std::int16_t* out, std::size_t count);

private:
    AudioOutput() = default;
    bool openDevice();
    void closeDevice();

    std::uint32_t m_device = 0;
    int m_users = 0;
    std::vector<AudioSource*> m_sources;
    std::vector<std::int32_t> m_accumulator;
};
