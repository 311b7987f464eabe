// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/WaveFormat.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

std::vector<uint8_t> readBytes(const std::string& path);

struct WaveInfo {
    WaveFormat format;
    std::vector<int16_t> samples;
};

// A RIFF/WAVE file as the tools write it: the 44-byte header of 16-bit PCM
// and the samples, every size agreeing with the file's. Nothing otherwise.
std::optional<WaveInfo> readWave(const std::string& path);
