// SPDX-License-Identifier: GPL-3.0-or-later
#include "Dsp.h"

#include <algorithm>
#include <cmath>

namespace soundgen {

uint32_t Rng::next()
{
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return m_state;
}

double Rng::uniform()
{
    return next() / 4294967296.0;
}

double Rng::bipolar()
{
    return uniform() * 2.0 - 1.0;
}

double Rng::range(double low, double high)
{
    return low + (high - low) * uniform();
}

void Biquad::setup(FilterKind kind, double cutoff, double q, double sampleRate)
{
    cutoff = std::clamp(cutoff, 10.0, sampleRate * 0.45);
    const double w = 2.0 * kPi * cutoff / sampleRate;
    const double alpha = std::sin(w) / (2.0 * std::max(q, 0.05));
    const double c = std::cos(w);
    double b0 = 0, b1 = 0, b2 = 0;
    switch (kind) {
    case FilterKind::LowPass:
        b0 = (1 - c) / 2, b1 = 1 - c, b2 = (1 - c) / 2;
        break;
    case FilterKind::HighPass:
        b0 = (1 + c) / 2, b1 = -(1 + c), b2 = (1 + c) / 2;
        break;
    case FilterKind::BandPass:
        b0 = alpha, b1 = 0, b2 = -alpha;
        break;
    }
    const double a0 = 1 + alpha;
    m_b0 = b0 / a0, m_b1 = b1 / a0, m_b2 = b2 / a0;
    m_a1 = -2 * c / a0, m_a2 = (1 - alpha) / a0;
}

double Biquad::process(double input)
{
    const double out = m_b0 * input + m_b1 * m_x1 + m_b2 * m_x2 - m_a1 * m_y1 - m_a2 * m_y2;
    m_x2 = m_x1, m_x1 = input;
    m_y2 = m_y1, m_y1 = out;
    return out;
}

double waveformAt(Waveform wave, double phase)
{
    phase -= std::floor(phase);
    switch (wave) {
    case Waveform::Sine:
        return std::sin(2 * kPi * phase);
    case Waveform::Triangle:
        return phase < 0.5 ? 4 * phase - 1 : 3 - 4 * phase;
    case Waveform::Square:
        return std::tanh(4 * std::sin(2 * kPi * phase));
    case Waveform::Saw: {
        // a few harmonics only: bright enough, no harsh aliasing at our sample rates
        double sum = 0;
        for (int k = 1; k <= 8; ++k)
            sum += std::sin(2 * kPi * phase * k) / k;
        return sum * 0.55;
    }
    }
    return 0;
}

double sweep(double from, double to, double t)
{
    if (from > 0 && to > 0)
        return from * std::pow(to / from, t);
    return from + (to - from) * t;
}

void normalisePeak(std::vector<float>& samples, double peak)
{
    float largest = 0;
    for (float s : samples)
        largest = std::max(largest, std::fabs(s));
    if (largest <= 0)
        return;
    const float scale = static_cast<float>(peak / largest);
    for (float& s : samples)
        s *= scale;
}

void removeDcAndFadeEnds(std::vector<float>& samples, int fadeInFrames, int fadeOutFrames)
{
    double mean = 0;
    for (float s : samples)
        mean += s;
    if (!samples.empty())
        mean /= samples.size();
    for (float& s : samples)
        s = static_cast<float>(s - mean);
    const int n = static_cast<int>(samples.size());
    for (int i = 0; i < std::min(fadeInFrames, n); ++i)
        samples[i] *= static_cast<float>(i) / fadeInFrames;
    for (int i = 0; i < std::min(fadeOutFrames, n); ++i)
        samples[n - 1 - i] *= static_cast<float>(i) / fadeOutFrames;
}

} // namespace soundgen
