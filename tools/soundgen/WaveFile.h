// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace soundgen {

// 16-bit mono PCM RIFF/WAVE bytes of the samples (-1 .. 1, clipped).
std::vector<uint8_t> encodeWave(const std::vector<float>& samples, int sampleRate);

// Writes bytes through a temporary file and a rename, so a failed run leaves no half file.
void writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes);

// Little-endian appenders shared by the wave and module writers.
void putU8(std::vector<uint8_t>& out, unsigned value);
void putU16(std::vector<uint8_t>& out, unsigned value);
void putU32(std::vector<uint8_t>& out, uint32_t value);
void putText(std::vector<uint8_t>& out, const std::string& text, size_t width);

} // namespace soundgen
