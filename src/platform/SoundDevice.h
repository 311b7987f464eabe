// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/AudioOutput.h"
#include "platform/SoundBuffer.h"
#include "platform/WaveFormat.h"

#include <cstdint>
#include <memory>
#include <vector>

// The sound-effects device: creates static buffers and mixes the playing ones
// into the shared audio output. A detached device has no output and is mixed
// by hand (tests, offline use).
class SoundDevice : private AudioSource {
public:
    enum class CooperativeLevel { Normal, Priority };

    struct BufferDesc {
        bool primary = false;
        std::uint32_t bytes = 0;
        const WaveFormat* format = nullptr;
        // Extra format bytes after the 18-byte record (non-PCM formats).
        std::vector<std::uint8_t> formatExtra;
    };

    // Opens the default output. Fails with kSoundNoDevice when there is none
    // (also under SDL_AUDIODRIVER=dummy).
    static int create(std::unique_ptr<SoundDevice>& device);
    static std::unique_ptr<SoundDevice> createDetached();

    ~SoundDevice() override;
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    int setCooperativeLevel(void* window, CooperativeLevel level);
    int createBuffer(const BufferDesc& desc, std::unique_ptr<SoundBuffer>& buffer);
    int duplicateBuffer(const SoundBuffer& original, std::unique_ptr<SoundBuffer>& duplicate);

    // Adds the playing buffers to interleaved stereo 44100 Hz accumulators.
    void mix(std::int32_t* frames, int count);
    // Loses every buffer's contents, as when another program takes the device.
    void loseBuffers();
    bool isAttached() const { return m_output != nullptr; }
    CooperativeLevel cooperativeLevel() const { return m_level; }

private:
    friend class SoundBuffer;
    explicit SoundDevice(AudioOutput* output);
    void mixInto(std::int32_t* frames, int count) override { mix(frames, count); }
    void attach(SoundBuffer& buffer);
    void detach(SoundBuffer& buffer);
    void lockOutput() const;
    void unlockOutput() const;

    AudioOutput* m_output;
    std::vector<SoundBuffer*> m_buffers;
    CooperativeLevel m_level = CooperativeLevel::Normal;
};
