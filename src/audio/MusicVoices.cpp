// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/MusicVoices.h"

#include "audio/MixRun.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr float kGainFactor = 7.4214768e-9f;

std::int64_t framesUntil(std::int64_t distance, std::int64_t step)
{
    return (distance + step - 1) / step;
}

} // namespace

void MusicVoices::reset()
{
    m_voices.fill(Voice{});
}

int MusicVoices::channelGain(const ChannelState& channel, int globalVolume)
{
    const std::int64_t volume = std::clamp(channel.volume + channel.volumeDelta, 0, 64);
    const std::int64_t product = std::int64_t(std::clamp(channel.envelopeVolume, 0, 64)) * volume *
                                 channel.fadeoutVolume * std::clamp(globalVolume, 0, 64);
    return static_cast<int>(double(product) * double(kGainFactor));
}

int MusicVoices::channelPanning(const ChannelState& channel)
{
    const int panning = channel.panning;
    const int room = (128 - std::abs(panning - 128)) / 32;
    return std::clamp(panning + (channel.envelopePanning - 32) * room, 0, 255);
}

int MusicVoices::channelFrequency(const ChannelState& channel, FrequencyTable table)
{
    const int period = channel.period;
    int frequency = 0;
    if (table == FrequencyTable::Linear) {
        const double exponent = (4608 - period + channel.periodDelta) / 768.0;
        frequency = static_cast<int>(std::min(8363.0 * std::pow(2.0, exponent), 1.0e8));
    } else {
        frequency = 14317056 / std::max(period + channel.periodDelta, 1);
    }
    return std::max(frequency, 100);
}

void MusicVoices::update(MusicModule& module)
{
    for (int c = 0; c < module.heardChannels(); ++c) {
        ChannelState& channel = module.channel[c];
        if (channel.flags & ChannelFlag::StartSample) {
            startSample(channel);
        }
        if (channel.flags & ChannelFlag::Stop) {
            releaseVoice(channel);
        }
        Voice& voice = m_voices[channel.voice];
        if (voice.sample != nullptr && channel.flags != 0) {
            setGains(voice, channelGain(channel, module.state.globalVolume),
                     channelPanning(channel));
            const int frequency = channelFrequency(channel, module.table);
            voice.step = (std::int64_t(frequency) << 32) / kRate;
        }
        channel.flags = 0;
    }
}

// A sounding note fades out on its voice while the channel moves to the partner voice,
// which starts silent: every note is ramped in from nothing and out to nothing.
void MusicVoices::releaseVoice(ChannelState& channel)
{
    Voice& old = m_voices[channel.voice];
    if (old.sample == nullptr) {
        return;
    }
    setGains(old, 0, 0);
    old.fading = true;
    if (old.rampFrames == 0) {
        old.sample = nullptr; // silent already
    }
    channel.voice = channel.voice < 32 ? channel.voice + 32 : channel.voice - 32;
    m_voices[channel.voice] = Voice{};
}

void MusicVoices::startSample(ChannelState& channel)
{
    releaseVoice(channel);
    Voice& voice = m_voices[channel.voice];
    voice = Voice{};
    const XmSample* sample = channel.sample;
    if (sample == nullptr || sample->length == 0) {
        return;
    }
    const std::int32_t offset = channel.sampleOffset < sample->loopEnd() ? channel.sampleOffset : 0;
    voice.sample = sample;
    voice.position = std::int64_t(offset) << 32;
}

void MusicVoices::setGains(Voice& voice, int gain, int panning)
{
    const int right = gain * panning / 255;
    const int left = gain * (255 - panning) / 255;
    if (left == voice.targetLeft && right == voice.targetRight && voice.rampFrames > 0) {
        return;
    }
    voice.targetLeft = left;
    voice.targetRight = right;
    const float leftGain = left / 255.0f;
    const float rightGain = right / 255.0f;
    if (leftGain == voice.gainLeft && rightGain == voice.gainRight) {
        voice.rampFrames = 0;
        return;
    }
    voice.rampLeft = (leftGain - voice.gainLeft) / kRampFrames;
    voice.rampRight = (rightGain - voice.gainRight) / kRampFrames;
    voice.rampFrames = kRampFrames;
}

void MusicVoices::mix(float* out, int count)
{
    for (Voice& voice : m_voices) {
        if (voice.sample != nullptr) {
            mixVoice(voice, out, count);
        }
    }
}

void MusicVoices::mixVoice(Voice& voice, float* out, int count)
{
    // A turn at a loop edge mixes nothing; two in a row can happen (a reflection
    // that lands on the other edge), more cannot, so a voice stuck there is dropped.
    int idleRuns = 0;
    while (count > 0 && voice.sample != nullptr) {
        const int done = mixRun(voice, out, count);
        idleRuns = done > 0 ? 0 : idleRuns + 1;
        if (idleRuns > kMaxIdleRuns) {
            voice.sample = nullptr;
            return;
        }
        out += 2 * done;
        count -= done;
    }
}

// Mixes up to count frames, stopping at the loop edge or the end of a ramp.
int MusicVoices::mixRun(Voice& voice, float* out, int count)
{
    const XmSample& sample = *voice.sample;
    const std::int64_t edge = std::int64_t(voice.backward ? sample.loopStart : sample.loopEnd())
                              << 32;
    const std::int64_t distance = voice.backward ? voice.position - edge : edge - voice.position;
    if (distance <= 0 || voice.step <= 0) {
        wrapAtEnd(voice);
        return 0;
    }
    const std::int64_t toEdge = framesUntil(distance, voice.step);
    int frames = static_cast<int>(std::min<std::int64_t>(count, toEdge));
    MixRun run{sample.data.data(), voice.position,  voice.backward ? -voice.step : voice.step,
               voice.gainLeft,     voice.gainRight, voice.rampLeft,
               voice.rampRight};
    if (voice.rampFrames <= 0) {
        run.mixSteady(out, frames, m_loops);
        voice.position = run.position;
        return frames;
    }
    frames = std::min(frames, voice.rampFrames);
    run.mixRamped(out, frames, m_loops);
    voice.position = run.position;
    voice.gainLeft = run.left;
    voice.gainRight = run.right;
    voice.rampFrames -= frames;
    if (voice.rampFrames <= 0) {
        endRamp(voice);
    }
    return frames;
}

void MusicVoices::endRamp(Voice& voice)
{
    voice.gainLeft = voice.targetLeft / 255.0f;
    voice.gainRight = voice.targetRight / 255.0f;
    if (voice.fading && voice.targetLeft == 0 && voice.targetRight == 0) {
        voice.sample = nullptr;
    }
}

void MusicVoices::wrapAtEnd(Voice& voice)
{
    const XmSample& sample = *voice.sample;
    const std::int64_t start = std::int64_t(sample.loopStart) << 32;
    const std::int64_t end = std::int64_t(sample.loopEnd()) << 32;
    const std::int64_t length = end - start;
    if (sample.loop == LoopType::None || length <= 0 || voice.step <= 0) {
        voice.sample = nullptr;
        return;
    }
    if (sample.loop == LoopType::Forward) {
        voice.position = start + (voice.position - start) % length;
        return;
    }
    // Ping-pong: the voice always turns at the edge it reached; the distance it
    // went past that edge is folded into one forward-and-back cycle.
    const std::int64_t past = voice.backward ? start - voice.position : voice.position - end;
    std::int64_t fold = std::max<std::int64_t>(past, 0) % (2 * length);
    bool backward = !voice.backward;
    if (fold >= length) {
        fold -= length;
        backward = !backward;
    }
    voice.backward = backward;
    // Backward positions stay below the loop end so that interpolation reads the guard value at
    // most.
    voice.position = backward ? end - 1 - fold : start + fold;
}
