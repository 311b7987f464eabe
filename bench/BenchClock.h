// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <ctime>

// Wall time and the CPU time of the whole process (every thread, the
// renderer's worker threads included), for figures that stay comparable on a
// busy machine.
struct BenchClock {
    static double cpuSeconds()
    {
        timespec now{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
        return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
    }
    static double wallSeconds()
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};

// Sums per-frame wall and CPU time between start() and stop().
class FrameTimer {
public:
    void start()
    {
        m_wallStart = BenchClock::wallSeconds();
        m_cpuStart = BenchClock::cpuSeconds();
    }
    void stop()
    {
        m_wall += BenchClock::wallSeconds() - m_wallStart;
        m_cpu += BenchClock::cpuSeconds() - m_cpuStart;
        ++m_frames;
    }
    double frames() const { return double(m_frames); }
    double fps() const { return m_wall > 0.0 ? double(m_frames) / m_wall : 0.0; }
    double cpuMillisecondsPerFrame() const
    {
        return m_frames ? m_cpu * 1000.0 / double(m_frames) : 0.0;
    }
    // The share of one core the frames would take at 60 per second.
    double corePercentAt60() const { return cpuMillisecondsPerFrame() * 60.0 / 10.0; }

private:
    double m_wallStart = 0.0;
    double m_cpuStart = 0.0;
    double m_wall = 0.0;
    double m_cpu = 0.0;
    long m_frames = 0;
};
