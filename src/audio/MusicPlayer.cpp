// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/MusicPlayer.h"

#include "audio/XmLoader.h"

#include <algorithm>
#include <cmath>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

WaveFormat outputFormat()
{
    return WaveFormat::pcm(2, MusicPlayer::kRate, 16);
}

// Nearest integer, clamped to 16 bits.
void convertToPcm(const float* in, std::int16_t* out, std::size_t count,
                  [[maybe_unused]] MixLoops loops)
{
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128 low = _mm_set1_ps(-32768.0f);
    const __m128 high = _mm_set1_ps(32767.0f);
    for (; loops == MixLoops::Vector && i + 8 <= count; i += 8) {
        const __m128 a = _mm_min_ps(_mm_max_ps(_mm_loadu_ps(in + i), low), high);
        const __m128 b = _mm_min_ps(_mm_max_ps(_mm_loadu_ps(in + i + 4), low), high);
        const __m128i packed = _mm_packs_epi32(_mm_cvtps_epi32(a), _mm_cvtps_epi32(b));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), packed);
    }
#endif
    for (; i < count; ++i) {
        const float value = std::clamp(in[i], -32768.0f, 32767.0f);
        out[i] = static_cast<std::int16_t>(std::nearbyint(value));
    }
}

} // namespace

MusicPlayer::MusicPlayer() : m_block(std::size_t(kBlockFrames) * 2, 0) {}

MusicPlayer::~MusicPlayer()
{
    closeDevice();
}

bool MusicPlayer::openDevice()
{
    return openDevice(WaveOutput::openDefault(outputFormat()));
}

bool MusicPlayer::openDevice(std::unique_ptr<WaveOutput> output)
{
    closeDevice();
    if (output == nullptr || (!output->isOpen() && !output->open(outputFormat())) ||
        !output->prepare(kRingBytes)) {
        return false;
    }
    m_output = std::move(output);
    return true;
}

void MusicPlayer::closeDevice()
{
    if (m_current != nullptr) {
        stopPlayback();
    }
    if (m_output != nullptr) {
        m_output->reset();
        m_output->close();
        m_output.reset();
    }
}

std::unique_ptr<MusicModule> MusicPlayer::loadFromMemory(const std::uint8_t* bytes,
                                                         std::size_t size)
{
    return loadXmModule(bytes, size, m_masterVolume);
}

void MusicPlayer::free(std::unique_ptr<MusicModule> module)
{
    if (module != nullptr && module.get() == m_current) {
        stopPlayback();
    }
}

bool MusicPlayer::play(MusicModule& module)
{
    if (m_current != nullptr) {
        stopPlayback();
    }
    if (m_output == nullptr) {
        return false;
    }
    m_voices.reset();
    m_sequencer = std::make_unique<XmSequencer>(module);
    m_sequencer->reset();
    m_mix.assign(std::size_t(kBlockFrames) * 2, 0.0f);
    m_current = &module;
    m_songEnded = false;
    m_fillCursor = 0;
    for (int block = 0; block < kBlocks; ++block) {
        fillBlock();
    }
    m_output->start();
    m_lastPosition = m_output->position();
    if (m_songEnded) {
        m_drainFrames = m_endRingFrame;
    }
    return true;
}

bool MusicPlayer::stop(MusicModule& module)
{
    if (&module != m_current) {
        return false;
    }
    stopPlayback();
    return true;
}

void MusicPlayer::stopPlayback()
{
    m_stopRequested = true;
    // Single-threaded: a fill never runs while this waits.
    m_mix.clear();
    m_mix.shrink_to_fit();
    if (m_current != nullptr) {
        m_current->state.playing = false;
    }
    m_current = nullptr;
    m_sequencer.reset();
    if (m_output != nullptr) {
        m_output->reset();
    }
    m_fillCursor = 0;
    m_songEnded = false;
    m_drainFrames = 0;
    m_stopRequested = false;
}

bool MusicPlayer::isPlaying() const
{
    return m_current != nullptr;
}

void MusicPlayer::setVolume(int volume)
{
    m_masterVolume = std::clamp(volume, 0, 64);
    if (m_current != nullptr) {
        m_current->state.globalVolume = m_masterVolume;
    }
}

void MusicPlayer::setMixLoops(MixLoops loops)
{
    m_loops = loops;
    m_voices.setLoops(loops);
}

int MusicPlayer::heardBlock() const
{
    return int((m_output->position() / 4) % kRingFrames) / kBlockFrames;
}

void MusicPlayer::pump()
{
    if (m_current == nullptr || m_stopRequested) {
        return;
    }
    if (!m_songEnded) {
        const std::size_t before = m_output->position();
        const int heard = heardBlock();
        while (m_fillCursor != heard && !m_songEnded) {
            fillBlock();
        }
        if (!m_songEnded) {
            m_lastPosition = before;
            return;
        }
        // Everything from the play position to the song's last frame is still to be heard.
        const long queued = m_endRingFrame - long((before / 4) % kRingFrames);
        m_drainFrames = (queued + kRingFrames) % kRingFrames;
        m_lastPosition = before;
    }
    drain();
}

// After the song's end: silence the blocks already heard and stop once the
// last mixed frame has played.
void MusicPlayer::drain()
{
    const std::size_t position = m_output->position();
    const long played = long(((position + kRingBytes - m_lastPosition) % kRingBytes) / 4);
    m_lastPosition = position;
    m_drainFrames -= played;
    const int heard = heardBlock();
    std::fill(m_block.begin(), m_block.end(), std::int16_t(0));
    while (m_fillCursor != heard) {
        writeBlock(m_fillCursor);
        m_fillCursor = (m_fillCursor + 1) % kBlocks;
    }
    if (m_drainFrames <= 0) {
        stopPlayback();
    }
}

void MusicPlayer::fillBlock()
{
    m_filling = true;
    std::fill(m_mix.begin(), m_mix.end(), 0.0f);
    mixFrames(kBlockFrames);
    convertToPcm(m_mix.data(), m_block.data(), m_mix.size(), m_loops);
    writeBlock(m_fillCursor);
    m_fillCursor = (m_fillCursor + 1) % kBlocks;
    m_filling = false;
}

void MusicPlayer::mixFrames(int frames)
{
    PlaybackState& state = m_current->state;
    float* out = m_mix.data();
    while (frames > 0) {
        if (state.samplesLeft == 0) {
            if (state.playing) {
                m_sequencer->tick();
            }
            if (!state.playing) {
                if (!m_songEnded) {
                    m_songEnded = true;
                    m_endRingFrame = long(m_fillCursor) * kBlockFrames + (kBlockFrames - frames);
                }
                return;
            }
            m_voices.update(*m_current);
            state.samplesLeft = state.samplesPerTick;
        }
        const int run = std::min(state.samplesLeft, frames);
        m_voices.mix(out, run);
        out += 2 * run;
        frames -= run;
        state.samplesLeft -= run;
        state.framesPlayed += std::uint64_t(run);
    }
}

void MusicPlayer::writeBlock(int block)
{
    m_output->write(std::size_t(block) * kBlockFrames * 4, m_block.data(), m_block.size() * 2);
}
