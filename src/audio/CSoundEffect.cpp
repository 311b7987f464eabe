// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/CSoundEffect.h"

#include "platform/Clock.h"

#include <cstdlib>
#include <cstring>

CSoundEffect::CSoundEffect(std::vector<std::unique_ptr<SoundBuffer>> buffers,
                           std::uint32_t bufferBytes, std::unique_ptr<CWaveReader> reader)
    : m_buffers(std::move(buffers)), m_bufferBytes(bufferBytes), m_reader(std::move(reader))
{
    if (!m_buffers.empty()) {
        fill(*m_buffers.front(), Fill::Once);
    }
    rewind();
}

CSoundEffect::~CSoundEffect()
{
    m_buffers.clear();
    if (m_reader != nullptr) {
        m_reader->close();
    }
}

bool CSoundEffect::restoreIfLost(SoundBuffer& buffer)
{
    std::uint32_t status = 0;
    if (buffer.getStatus(&status) != kSoundOk || !(status & SoundBuffer::kStatusLost)) {
        return false;
    }
    do {
        if (buffer.restore() == kSoundBufferLost) {
            Clock::sleep(10);
        }
    } while (buffer.restore() != kSoundOk);
    return true;
}

bool CSoundEffect::fill(SoundBuffer& buffer, Fill mode)
{
    restoreIfLost(buffer);
    void* bytes = nullptr;
    std::uint32_t size = 0;
    if (buffer.lock(&bytes, &size) != kSoundOk) {
        return false;
    }
    auto* destination = static_cast<std::uint8_t*>(bytes);
    m_reader->rewind();
    std::uint32_t got = m_reader->read(destination, size);
    const std::uint8_t silence = m_reader->format().bitsPerSample == 8 ? 128 : 0;
    if (mode == Fill::Repeat && got > 0) {
        while (got < size) {
            m_reader->rewind();
            const std::uint32_t more = m_reader->read(destination + got, size - got);
            if (more == 0) {
                break;
            }
            got += more;
        }
    }
    std::memset(destination + got, silence, size - got);
    buffer.unlock();
    return true;
}

void CSoundEffect::rewind()
{
    for (auto& buffer : m_buffers) {
        buffer->setCurrentPosition(0);
    }
}

bool CSoundEffect::isPlaying() const
{
    for (const auto& buffer : m_buffers) {
        std::uint32_t status = 0;
        if (buffer->getStatus(&status) == kSoundOk && (status & SoundBuffer::kStatusPlaying)) {
            return true;
        }
    }
    return false;
}

SoundBuffer& CSoundEffect::chooseBuffer()
{
    for (auto& buffer : m_buffers) {
        std::uint32_t status = 0;
        if (buffer->getStatus(&status) == kSoundOk && !(status & SoundBuffer::kStatusPlaying)) {
            return *buffer;
        }
    }
    return *m_buffers[std::size_t(std::rand()) % m_buffers.size()];
}

void CSoundEffect::play(std::uint32_t priority, bool looping)
{
    if (m_buffers.empty()) {
        return;
    }
    SoundBuffer& buffer = chooseBuffer();
    if (restoreIfLost(buffer)) {
        fill(buffer, Fill::Once);
        rewind();
    }
    buffer.setCurrentPosition(0);
    buffer.play(priority, looping);
}

void CSoundEffect::stop()
{
    for (auto& buffer : m_buffers) {
        buffer->stop();
    }
}

void CSoundEffect::setVolume(long attenuation)
{
    for (auto& buffer : m_buffers) {
        buffer->setVolume(attenuation);
    }
}

void CSoundEffect::setPan(long pan)
{
    for (auto& buffer : m_buffers) {
        buffer->setPan(pan);
    }
}
