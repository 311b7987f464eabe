// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/AudioOutput.h"
#include "platform/WaveOutput.h"

#include <vector>

// The music's wave output on the shared SDL device: the output thread reads
// the ring at the play position and loops over it.
class DeviceWaveOutput : public WaveOutput, private AudioSource {
public:
    ~DeviceWaveOutput() override;

    bool open(const WaveFormat& format) override;
    bool prepare(std::size_t bytes) override;
    void write(std::size_t offset, const void* data, std::size_t bytes) override;
    void start() override;
    std::size_t position() const override;
    void reset() override;
    void close() override;
    bool isOpen() const override { return m_output != nullptr; }

private:
    void mixInto(std::int32_t* frames, int count) override;

    AudioOutput* m_output = nullptr;
    std::vector<std::int16_t> m_ring; // interleaved stereo
    std::size_t m_frame = 0;
    bool m_started = false;
};
