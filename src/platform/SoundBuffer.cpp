// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SoundBuffer.h"

#include "platform/SoundBufferData.h"
#include "platform/SoundDevice.h"

#include <algorithm>
#include <cmath>

namespace {

float amplitudeFor(long attenuation)
{
    if (attenuation <= SoundBuffer::kVolumeMin) {
        return 0.0f;
    }
    return float(std::pow(10.0, double(std::min(attenuation, 0L)) / 2000.0));
}

} // namespace

SoundBuffer::SoundBuffer(SoundDevice& device, std::shared_ptr<SoundBufferData> data, bool primary)
    : m_device(&device), m_data(std::move(data)), m_primary(primary)
{
    m_device->attach(*this);
}

SoundBuffer::~SoundBuffer()
{
    m_device->detach(*this);
}

std::uint32_t SoundBuffer::size() const
{
    return static_cast<std::uint32_t>(m_data->bytes.size());
}

const WaveFormat& SoundBuffer::format() const
{
    return m_primary ? m_primaryFormat : m_data->format;
}

int SoundBuffer::lock(void** bytes, std::uint32_t* size)
{
    if (bytes == nullptr || size == nullptr || m_primary) {
        return kSoundInvalidParam;
    }
    if (m_lost) {
        return kSoundBufferLost;
    }
    m_locked = true;
    *bytes = m_data->bytes.data();
    *size = static_cast<std::uint32_t>(m_data->bytes.size());
    return kSoundOk;
}

int SoundBuffer::unlock()
{
    if (!m_locked) {
        return kSoundNotLocked;
    }
    m_locked = false;
    m_device->lockOutput();
    m_data->convert();
    m_device->unlockOutput();
    return kSoundOk;
}

int SoundBuffer::play(std::uint32_t priority, bool looping)
{
    if (m_primary) {
        return kSoundInvalidParam;
    }
    if (m_lost) {
        return kSoundBufferLost;
    }
    m_device->lockOutput();
    m_priority = priority;
    m_looping = looping;
    m_playing = m_data->outputFrames() > 0;
    if (m_position >= m_data->outputFrames()) {
        m_position = 0;
    }
    m_device->unlockOutput();
    return kSoundOk;
}

int SoundBuffer::stop()
{
    m_device->lockOutput();
    m_playing = false;
    m_device->unlockOutput();
    return kSoundOk;
}

int SoundBuffer::setCurrentPosition(std::uint32_t bytePosition)
{
    if (m_primary) {
        return kSoundInvalidParam;
    }
    m_device->lockOutput();
    m_position = m_data->outputFrameFor(bytePosition);
    m_device->unlockOutput();
    return kSoundOk;
}

int SoundBuffer::getStatus(std::uint32_t* status) const
{
    if (status == nullptr) {
        return kSoundInvalidParam;
    }
    m_device->lockOutput();
    *status = (m_playing ? kStatusPlaying : 0) | (m_playing && m_looping ? kStatusLooping : 0) |
              (m_lost ? kStatusLost : 0);
    m_device->unlockOutput();
    return kSoundOk;
}

int SoundBuffer::restore()
{
    m_lost = false;
    return kSoundOk;
}

int SoundBuffer::setVolume(long attenuation)
{
    if (attenuation < kVolumeMin || attenuation > kVolumeMax) {
        return kSoundInvalidParam;
    }
    m_attenuation = attenuation;
    setPan(m_pan);
    return kSoundOk;
}

int SoundBuffer::setPan(long pan)
{
    if (pan < -10000 || pan > 10000) {
        return kSoundInvalidParam;
    }
    m_device->lockOutput();
    m_pan = pan;
    m_gainLeft = amplitudeFor(m_attenuation - std::max(pan, 0L));
    m_gainRight = amplitudeFor(m_attenuation + std::min(pan, 0L));
    m_device->unlockOutput();
    return kSoundOk;
}

int SoundBuffer::setFormat(const WaveFormat& format)
{
    if (!m_primary) {
        return kSoundInvalidParam;
    }
    m_primaryFormat = format;
    return kSoundOk;
}

void SoundBuffer::markLost()
{
    m_playing = false;
    m_lost = true;
    std::fill(m_data->bytes.begin(), m_data->bytes.end(), std::uint8_t(0));
    m_data->converted.clear();
}

// Called with the output locked.
void SoundBuffer::mixInto(std::int32_t* frames, int count)
{
    if (!m_playing) {
        return;
    }
    const std::vector<std::int16_t>& sound = m_data->converted;
    const std::size_t length = sound.size() / 2;
    for (int i = 0; i < count; ++i) {
        if (m_position >= length) {
            if (!m_looping || length == 0) {
                m_playing = false;
                m_position = 0;
                return;
            }
            m_position = 0;
        }
        frames[2 * i] += std::int32_t(float(sound[2 * m_position]) * m_gainLeft);
        frames[2 * i + 1] += std::int32_t(float(sound[2 * m_position + 1]) * m_gainRight);
        ++m_position;
    }
}
