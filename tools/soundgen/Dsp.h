// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

namespace soundgen {

constexpr double kPi = 3.14159265358979323846;

// Deterministic noise: the same seed gives the same sound on every machine.
class Rng {
public:
    explicit Rng(uint32_t seed) : m_state(seed ? seed : 0x9E3779B9u) {}
    uint32_t next();
    double uniform(); // 0 .. 1
    double bipolar(); // -1 .. 1
    double range(double low, double high);

private:
    uint32_t m_state;
};

enum class FilterKind { LowPass, HighPass, BandPass };

// Second-order filter (the usual audio-cookbook biquad); the cutoff may move per sample.
class Biquad {
public:
    void setup(FilterKind kind, double cutoff, double q, double sampleRate);
    double process(double input);

private:
    double m_b0 = 1, m_b1 = 0, m_b2 = 0, m_a1 = 0, m_a2 = 0;
    double m_x1 = 0, m_x2 = 0, m_y1 = 0, m_y2 = 0;
};

enum class Waveform { Sine, Triangle, Square, Saw };

// One cycle of a waveform at phase 0 .. 1; square and saw are softened so they do not alias badly.
double waveformAt(Waveform wave, double phase);

// Interpolates between from and to with t in 0 .. 1, exponentially when both are positive.
double sweep(double from, double to, double t);

// Scales the signal so its largest magnitude is peak.
void normalisePeak(std::vector<float>& samples, double peak);

// Removes any DC offset and ramps both ends to silence over the given frame counts.
void removeDcAndFadeEnds(std::vector<float>& samples, int fadeInFrames, int fadeOutFrames);

} // namespace soundgen
