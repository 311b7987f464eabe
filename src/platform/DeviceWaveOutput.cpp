// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DeviceWaveOutput.h"

#include <algorithm>
#include <cstring>

std::unique_ptr<WaveOutput> WaveOutput::openDefault(const WaveFormat& format)
{
    auto output = std::make_unique<DeviceWaveOutput>();
    if (!output->open(format)) {
        return nullptr;
    }
    return output;
}

DeviceWaveOutput::~DeviceWaveOutput()
{
    close();
}

bool DeviceWaveOutput::open(const WaveFormat& format)
{
    if (format.formatTag != WaveFormat::kPcm || format.channels != 2 ||
        format.bitsPerSample != 16 || format.samplesPerSecond != AudioOutput::kRate) {
        return false;
    }
    close();
    m_output = AudioOutput::acquire();
    if (m_output == nullptr) {
        return false;
    }
    m_output->addSource(*this);
    return true;
}

bool DeviceWaveOutput::prepare(std::size_t bytes)
{
    if (m_output == nullptr || bytes < 4) {
        return false;
    }
    m_output->lock();
    m_ring.assign(bytes / 2, 0);
    m_frame = 0;
    m_started = false;
    m_output->unlock();
    return true;
}

void DeviceWaveOutput::write(std::size_t offset, const void* data, std::size_t bytes)
{
    const std::size_t ringBytes = m_ring.size() * 2;
    if (m_output == nullptr || offset >= ringBytes) {
        return;
    }
    m_output->lock();
    std::memcpy(reinterpret_cast<std::uint8_t*>(m_ring.data()) + offset, data,
                std::min(bytes, ringBytes - offset));
    m_output->unlock();
}

void DeviceWaveOutput::start()
{
    if (m_output == nullptr) {
        return;
    }
    m_output->lock();
    m_started = true;
    m_output->unlock();
}

std::size_t DeviceWaveOutput::position() const
{
    if (m_output == nullptr) {
        return 0;
    }
    m_output->lock();
    const std::size_t bytes = m_frame * 4;
    m_output->unlock();
    return bytes;
}

void DeviceWaveOutput::reset()
{
    if (m_output == nullptr) {
        return;
    }
    m_output->lock();
    m_started = false;
    m_frame = 0;
    m_output->unlock();
}

void DeviceWaveOutput::close()
{
    if (m_output == nullptr) {
        return;
    }
    m_output->removeSource(*this);
    AudioOutput::release(m_output);
    m_output = nullptr;
    m_ring.clear();
    m_started = false;
    m_frame = 0;
}

void DeviceWaveOutput::mixInto(std::int32_t* frames, int count)
{
    const std::size_t ringFrames = m_ring.size() / 2;
    if (!m_started || ringFrames == 0) {
        return;
    }
    for (int i = 0; i < count; ++i) {
        frames[2 * i] += m_ring[2 * m_frame];
        frames[2 * i + 1] += m_ring[2 * m_frame + 1];
        m_frame = m_frame + 1 == ringFrames ? 0 : m_frame + 1;
    }
}
