// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/OfflineWaveOutput.h"

#include <algorithm>
#include <cstring>

bool OfflineWaveOutput::open(const WaveFormat&)
{
    m_open = true;
    return true;
}

bool OfflineWaveOutput::prepare(std::size_t bytes)
{
    if (!m_open || bytes == 0) {
        return false;
    }
    m_ring.assign(bytes, 0);
    m_position = 0;
    m_started = false;
    return true;
}

void OfflineWaveOutput::write(std::size_t offset, const void* data, std::size_t bytes)
{
    if (offset >= m_ring.size()) {
        return;
    }
    std::memcpy(m_ring.data() + offset, data, std::min(bytes, m_ring.size() - offset));
}

void OfflineWaveOutput::reset()
{
    m_started = false;
    m_position = 0;
}

void OfflineWaveOutput::close()
{
    reset();
    m_ring.clear();
    m_open = false;
}

bool OfflineWaveOutput::advance(std::size_t bytes, std::vector<std::uint8_t>* out)
{
    if (!m_started || m_ring.empty()) {
        return false;
    }
    while (bytes > 0) {
        const std::size_t run = std::min(bytes, m_ring.size() - m_position);
        if (out != nullptr) {
            out->insert(out->end(), m_ring.begin() + long(m_position),
                        m_ring.begin() + long(m_position + run));
        }
        m_position = (m_position + run) % m_ring.size();
        bytes -= run;
    }
    return true;
}
