// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// The PCM format record of a RIFF/WAVE file, as the devices receive it.
struct WaveFormat {
    std::uint16_t formatTag = 1; // 1 PCM, 3 IEEE float, 0xFFFE extensible
    std::uint16_t channels = 2;
    std::uint32_t samplesPerSecond = 44100;
    std::uint32_t bytesPerSecond = 176400;
    std::uint16_t blockAlign = 4;
    std::uint16_t bitsPerSample = 16;

    static constexpr std::uint16_t kPcm = 1;
    static constexpr std::uint16_t kFloat = 3;
    static constexpr std::uint16_t kExtensible = 0xFFFE;

    static WaveFormat pcm(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits)
    {
        WaveFormat f;
        f.channels = channels;
        f.samplesPerSecond = rate;
        f.bitsPerSample = bits;
        f.blockAlign = static_cast<std::uint16_t>(channels * bits / 8);
        f.bytesPerSecond = rate * f.blockAlign;
        return f;
    }
};
