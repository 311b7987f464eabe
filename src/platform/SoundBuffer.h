// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/WaveFormat.h"

#include <cstdint>
#include <memory>
#include <vector>

class SoundDevice;
struct SoundBufferData;

// Result codes of the sound device and its buffers (0 is success).
enum SoundResult : int {
    kSoundOk = 0,
    kSoundNoDevice = -1,
    kSoundInvalidParam = -2,
    kSoundBadFormat = -3,
    kSoundBufferLost = -4,
    kSoundNotLocked = -5,
    kSoundUnsupported = -6,
};

// One playback buffer of the sound device: static, holding a whole sound in
// the file's own format. Duplicates share the sound data. All calls come
// from the game thread; the output thread only reads under the device lock.
class SoundBuffer {
public:
    static constexpr std::uint32_t kStatusPlaying = 1;
    static constexpr std::uint32_t kStatusLooping = 4;
    static constexpr std::uint32_t kStatusLost = 2;
    static constexpr long kVolumeMin = -10000;
    static constexpr long kVolumeMax = 0;

    ~SoundBuffer();
    SoundBuffer(const SoundBuffer&) = delete;
    SoundBuffer& operator=(const SoundBuffer&) = delete;

    // Write access to the whole buffer; the sound is converted for the
    // output when unlocked.
    int lock(void** bytes, std::uint32_t* size);
    int unlock();
    int play(std::uint32_t priority, bool looping);
    int stop();
    // Position in bytes of the buffer's own format.
    int setCurrentPosition(std::uint32_t bytePosition);
    int getStatus(std::uint32_t* status) const;
    // Makes a lost buffer usable again; its contents must be written again.
    int restore();
    // Attenuation in hundredths of a decibel, -10000 (silent) to 0.
    int setVolume(long attenuation);
    long volume() const { return m_attenuation; }
    // -10000 (left only) to 10000 (right only), hundredths of a decibel.
    int setPan(long pan);
    // The primary buffer's format (recorded; the output always runs at 44100 Hz stereo).
    int setFormat(const WaveFormat& format);

    bool isPrimary() const { return m_primary; }
    std::uint32_t size() const;
    const WaveFormat& format() const;
    std::uint32_t lastPriority() const { return m_priority; }

private:
    friend class SoundDevice;
    SoundBuffer(SoundDevice& device, std::shared_ptr<SoundBufferData> data, bool primary);
    // Mixes into interleaved stereo accumulators; called under the device lock.
    void mixInto(std::int32_t* frames, int count);
    void markLost();

    SoundDevice* m_device;
    std::shared_ptr<SoundBufferData> m_data;
    bool m_primary;
    bool m_locked = false;
    bool m_playing = false;
    bool m_looping = false;
    bool m_lost = false;
    std::size_t m_position = 0; // in output frames
    long m_attenuation = 0;
    long m_pan = 0;
    float m_gainLeft = 1.0f;
    float m_gainRight = 1.0f;
    std::uint32_t m_priority = 0;
    WaveFormat m_primaryFormat;
};
