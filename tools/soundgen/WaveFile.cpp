// SPDX-License-Identifier: GPL-3.0-or-later
#include "WaveFile.h"

#include "SourceText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace soundgen {

void putU8(std::vector<uint8_t>& out, unsigned value)
{
    out.push_back(static_cast<uint8_t>(value));
}

void putU16(std::vector<uint8_t>& out, unsigned value)
{
    putU8(out, value & 0xFF);
    putU8(out, (value >> 8) & 0xFF);
}

void putU32(std::vector<uint8_t>& out, uint32_t value)
{
    putU16(out, value & 0xFFFF);
    putU16(out, value >> 16);
}

void putText(std::vector<uint8_t>& out, const std::string& text, size_t width)
{
    for (size_t i = 0; i < width; ++i)
        putU8(out, i < text.size() ? static_cast<uint8_t>(text[i]) : 0);
}

std::vector<uint8_t> encodeWave(const std::vector<float>& samples, int sampleRate)
{
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    putText(out, "RIFF", 4);
    putU32(out, 36 + dataBytes);
    putText(out, "WAVE", 4);
    putText(out, "fmt ", 4);
    putU32(out, 16);
    putU16(out, 1); // PCM
    putU16(out, 1); // mono
    putU32(out, sampleRate);
    putU32(out, sampleRate * 2);
    putU16(out, 2);
    putU16(out, 16);
    putText(out, "data", 4);
    putU32(out, dataBytes);
    for (float s : samples) {
        const long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
        putU16(out, static_cast<uint16_t>(static_cast<int16_t>(v)));
    }
    return out;
}

void writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes)
{
    const std::string temporary = path + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        throw SourceError(path + ": cannot be written");
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        throw SourceError(path + ": writing failed");
    }
}

} // namespace soundgen
