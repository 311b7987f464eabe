// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/WaveFormat.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// A waveform output that plays one looping ring buffer and reports where it is.
class WaveOutput {
public:
    virtual ~WaveOutput() = default;

    virtual bool open(const WaveFormat& format) = 0;
    // Prepares a silent looping ring of the given size; nothing plays yet.
    virtual bool prepare(std::size_t bytes) = 0;
    // Copies bytes into the ring at an offset; the ring may be playing.
    virtual void write(std::size_t offset, const void* data, std::size_t bytes) = 0;
    // Starts playing the ring endlessly from its start.
    virtual void start() = 0;
    // Play position in bytes within the ring.
    virtual std::size_t position() const = 0;
    // Stops at once; the position returns to 0 and start is needed again.
    virtual void reset() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // The default output device, or nothing when there is none.
    static std::unique_ptr<WaveOutput> openDefault(const WaveFormat& format);
};
