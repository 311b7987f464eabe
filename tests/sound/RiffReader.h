#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A deliberately independent RIFF/WAVE reader, so the generator's writer is not checked
// against itself.
struct WaveInfo {
    unsigned formatTag = 0, channels = 0, sampleRate = 0, byteRate = 0, blockAlign = 0, bits = 0;
    std::vector<int16_t> samples;
};

std::vector<uint8_t> readBytes(const std::string& path);
// Empty when the bytes are not a well-formed PCM RIFF/WAVE file.
std::optional<WaveInfo> parseWave(const std::vector<uint8_t>& bytes, std::string& problem);
