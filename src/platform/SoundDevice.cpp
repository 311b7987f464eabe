// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SoundDevice.h"

#include "platform/SoundBufferData.h"

#include <algorithm>

SoundDevice::SoundDevice(AudioOutput* output) : m_output(output)
{
    if (m_output != nullptr) {
        m_output->addSource(*this);
    }
}

SoundDevice::~SoundDevice()
{
    if (m_output != nullptr) {
        m_output->removeSource(*this);
        AudioOutput::release(m_output);
    }
}

int SoundDevice::create(std::unique_ptr<SoundDevice>& device)
{
    AudioOutput* output = AudioOutput::acquire();
    if (output == nullptr) {
        return kSoundNoDevice;
    }
    device.reset(new SoundDevice(output));
    return kSoundOk;
}

std::unique_ptr<SoundDevice> SoundDevice::createDetached()
{
    return std::unique_ptr<SoundDevice>(new SoundDevice(nullptr));
}

int SoundDevice::setCooperativeLevel(void*, CooperativeLevel level)
{
    m_level = level;
    return kSoundOk;
}

int SoundDevice::createBuffer(const BufferDesc& desc, std::unique_ptr<SoundBuffer>& buffer)
{
    auto data = std::make_shared<SoundBufferData>();
    if (desc.primary) {
        if (desc.bytes != 0 || desc.format != nullptr) {
            return kSoundInvalidParam;
        }
        buffer.reset(new SoundBuffer(*this, std::move(data), true));
        buffer->m_primaryFormat = WaveFormat::pcm(2, AudioOutput::kRate, 16);
        return kSoundOk;
    }
    if (desc.format == nullptr || desc.bytes < 4 || desc.bytes > (1u << 28)) {
        return kSoundInvalidParam;
    }
    if (!SoundBufferData::isPlayable(*desc.format, desc.formatExtra)) {
        return kSoundBadFormat;
    }
    data->format = *desc.format;
    data->extra = desc.formatExtra;
    data->bytes.assign(desc.bytes, 0);
    buffer.reset(new SoundBuffer(*this, std::move(data), false));
    return kSoundOk;
}

int SoundDevice::duplicateBuffer(const SoundBuffer& original,
                                 std::unique_ptr<SoundBuffer>& duplicate)
{
    if (original.m_primary || original.m_device != this) {
        return kSoundInvalidParam;
    }
    duplicate.reset(new SoundBuffer(*this, original.m_data, false));
    duplicate->m_attenuation = original.m_attenuation;
    duplicate->setPan(original.m_pan);
    return kSoundOk;
}

void SoundDevice::mix(std::int32_t* frames, int count)
{
    for (SoundBuffer* buffer : m_buffers) {
        buffer->mixInto(frames, count);
    }
}

void SoundDevice::loseBuffers()
{
    lockOutput();
    for (SoundBuffer* buffer : m_buffers) {
        if (!buffer->m_primary) {
            buffer->markLost();
        }
    }
    unlockOutput();
}

void SoundDevice::attach(SoundBuffer& buffer)
{
    lockOutput();
    m_buffers.push_back(&buffer);
    unlockOutput();
}

void SoundDevice::detach(SoundBuffer& buffer)
{
    lockOutput();
    m_buffers.erase(std::remove(m_buffers.begin(), m_buffers.end(), &buffer), m_buffers.end());
    unlockOutput();
}

void SoundDevice::lockOutput() const
{
    if (m_output != nullptr) {
        m_output->lock();
    }
}

void SoundDevice::unlockOutput() const
{
    if (m_output != nullptr) {
        m_output->unlock();
    }
}
