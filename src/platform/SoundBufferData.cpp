// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SoundBufferData.h"

#include "platform/AudioOutput.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// An effect longer than a minute is cut there.
constexpr std::size_t kMaxFrames = std::size_t(AudioOutput::kRate) * 60;

// The sub-format of an extensible format block: its first two GUID bytes.
std::uint16_t effectiveTag(const WaveFormat& format, const std::vector<std::uint8_t>& extra)
{
    if (format.formatTag != WaveFormat::kExtensible) {
        return format.formatTag;
    }
    if (extra.size() < 22) {
        return 0;
    }
    return static_cast<std::uint16_t>(extra[6] | extra[7] << 8);
}

} // namespace

bool SoundBufferData::isPlayable(const WaveFormat& format, const std::vector<std::uint8_t>& extra)
{
    const std::uint16_t tag = effectiveTag(format, extra);
    const bool pcm =
        tag == WaveFormat::kPcm && (format.bitsPerSample == 8 || format.bitsPerSample == 16);
    const bool floating = tag == WaveFormat::kFloat && format.bitsPerSample == 32;
    return (pcm || floating) && (format.channels == 1 || format.channels == 2) &&
           format.blockAlign == format.channels * format.bitsPerSample / 8 &&
           format.samplesPerSecond >= 100 && format.samplesPerSecond <= 200000;
}

float SoundBufferData::sampleAt(std::size_t frame, int channel) const
{
    const std::size_t offset =
        frame * format.blockAlign + std::size_t(channel) * (format.bitsPerSample / 8);
    const std::uint8_t* p = bytes.data() + offset;
    switch (format.bitsPerSample) {
    case 8:
        return float((int(p[0]) - 128) * 256);
    case 16:
        return float(std::int16_t(p[0] | p[1] << 8));
    default: {
        float value = 0.0f;
        std::memcpy(&value, p, sizeof value);
        return std::isfinite(value) ? std::clamp(value, -1.0f, 1.0f) * 32767.0f : 0.0f;
    }
    }
}

void SoundBufferData::convert()
{
    const std::size_t sourceFrames = format.blockAlign ? bytes.size() / format.blockAlign : 0;
    if (sourceFrames == 0 || !isPlayable(format, extra)) {
        converted.clear();
        return;
    }
    const double ratio = double(format.samplesPerSecond) / AudioOutput::kRate;
    const auto frames =
        std::min(static_cast<std::size_t>(std::ceil(sourceFrames / ratio)), kMaxFrames);
    converted.assign(frames * 2, 0);
    const int right = format.channels == 2 ? 1 : 0;
    for (std::size_t t = 0; t < frames; ++t) {
        const double source = t * ratio;
        const std::size_t i = std::min(static_cast<std::size_t>(source), sourceFrames - 1);
        const std::size_t j = std::min(i + 1, sourceFrames - 1);
        const float f = float(source - double(i));
        const float left = sampleAt(i, 0) + f * (sampleAt(j, 0) - sampleAt(i, 0));
        const float rightValue = sampleAt(i, right) + f * (sampleAt(j, right) - sampleAt(i, right));
        converted[2 * t] = static_cast<std::int16_t>(std::lrint(left));
        converted[2 * t + 1] = static_cast<std::int16_t>(std::lrint(rightValue));
    }
}

std::size_t SoundBufferData::outputFrameFor(std::uint32_t bytePosition) const
{
    if (format.blockAlign == 0 || format.samplesPerSecond == 0) {
        return 0;
    }
    const double frame =
        double(bytePosition / format.blockAlign) * AudioOutput::kRate / format.samplesPerSecond;
    return static_cast<std::size_t>(frame);
}
