// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/WaveOutput.h"

#include <vector>

// A wave output without a device: the ring plays only when the owner advances
// it, so a module can be rendered as fast as it mixes.
class OfflineWaveOutput : public WaveOutput {
public:
    bool open(const WaveFormat& format) override;
    bool prepare(std::size_t bytes) override;
    void write(std::size_t offset, const void* data, std::size_t bytes) override;
    void start() override { m_started = true; }
    std::size_t position() const override { return m_position; }
    void reset() override;
    void close() override;
    bool isOpen() const override { return m_open; }

    // Plays the given number of bytes from the ring, appending them to out
    // when given; returns false when not started.
    bool advance(std::size_t bytes, std::vector<std::uint8_t>* out = nullptr);
    bool isStarted() const { return m_started; }
    const std::vector<std::uint8_t>& ring() const { return m_ring; }

private:
    std::vector<std::uint8_t> m_ring;
    std::size_t m_position = 0;
    bool m_open = false;
    bool m_started = false;
};
