// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FramePacer.h"

namespace {

constexpr std::uint32_t idleSleepMilliseconds = 100;

} // namespace

void FramePacer::setClock(FrameClock* clock)
{
    m_clock = clock != nullptr ? clock : &m_systemClock;
    m_timing = false;
}

void FramePacer::startTiming()
{
    if (m_timing)
        return;
    m_lastTime = m_clock->milliseconds();
    m_timing = true;
}

float FramePacer::beginFrame()
{
    m_frameStart = m_clock->milliseconds();
    return float(m_frameStart - m_lastTime);
}

void FramePacer::endFrame()
{
    if (m_targetFrameRate != 0) {
        const std::uint32_t budget = 1000 / m_targetFrameRate;
        const std::uint32_t elapsed = m_clock->milliseconds() - m_frameStart;
        if (elapsed < budget)
            m_clock->sleep(budget - elapsed);
    }
    m_lastTime = m_frameStart;
}

void FramePacer::idle()
{
    m_clock->sleep(idleSleepMilliseconds);
}
