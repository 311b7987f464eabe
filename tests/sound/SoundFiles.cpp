// SPDX-License-Identifier: GPL-3.0-or-later
#include "SoundFiles.h"

#include <cstring>
#include <fstream>
#include <iterator>

std::vector<uint8_t> readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::optional<WaveInfo> readWave(const std::string& path)
{
    const std::vector<uint8_t> b = readBytes(path);
    const auto u16 = [&b](size_t at) { return uint16_t(b[at] | b[at + 1] << 8); };
    const auto u32 = [&u16](size_t at) { return u16(at) | uint32_t(u16(at + 2)) << 16; };
    if (b.size() < 44 || std::memcmp(b.data(), "RIFF", 4) != 0 ||
        std::memcmp(b.data() + 8, "WAVEfmt ", 8) != 0 ||
        std::memcmp(b.data() + 36, "data", 4) != 0 || u32(16) != 16 || u32(4) + 8 != b.size() ||
        u32(40) + 44 != b.size() || u16(34) != 16)
        return std::nullopt;
    WaveInfo wave{{u16(20), u16(22), u32(24), u32(28), u16(32), u16(34)}, {}};
    for (size_t at = 44; at + 1 < b.size(); at += 2)
        wave.samples.push_back(static_cast<int16_t>(u16(at)));
    return wave;
}
