// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/MixRun.h"

#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr float kFractionScale = 1.0f / 2147483648.0f; // 2^-31

#if defined(__SSE2__)

// The two stored values around a position, as one 32-bit load (little-endian: the first low).
inline std::int32_t pairAt(const std::int16_t* data, std::int64_t position)
{
    std::int32_t pair = 0;
    std::memcpy(&pair, data + (position >> 32), sizeof pair);
    return pair;
}

#endif

// Linear interpolation with the top 31 bits of the fraction, in single precision.
inline float valueAt(const std::int16_t* data, std::int64_t position)
{
    const std::int16_t* pair = data + (position >> 32);
    const float a = float(pair[0]);
    const float b = float(pair[1]);
    const float fraction = float(std::int32_t(std::uint32_t(position) >> 1)) * kFractionScale;
    return a + fraction * (b - a);
}

#if defined(__SSE2__)

// Four frames a step: the stored pairs are loaded one by one (the positions are
// 64-bit), everything else is done four wide.
inline __m128 sse2Values(const std::int16_t* data, std::int64_t& position, std::int64_t step,
                         __m128i& fractions, __m128i fractionStep)
{
    const std::int32_t p0 = pairAt(data, position);
    const std::int32_t p1 = pairAt(data, position + step);
    const std::int32_t p2 = pairAt(data, position + 2 * step);
    const std::int32_t p3 = pairAt(data, position + 3 * step);
    position += 4 * step;
    const __m128i pairs = _mm_setr_epi32(p0, p1, p2, p3);
    const __m128 a = _mm_cvtepi32_ps(_mm_srai_epi32(_mm_slli_epi32(pairs, 16), 16));
    const __m128 b = _mm_cvtepi32_ps(_mm_srai_epi32(pairs, 16));
    const __m128 f =
        _mm_mul_ps(_mm_cvtepi32_ps(_mm_srli_epi32(fractions, 1)), _mm_set1_ps(kFractionScale));
    fractions = _mm_add_epi32(fractions, fractionStep);
    return _mm_add_ps(a, _mm_mul_ps(f, _mm_sub_ps(b, a)));
}

inline __m128i sse2Fractions(std::int64_t position, std::int64_t step)
{
    const auto low = [&](int k) { return std::int32_t(std::uint32_t(position + k * step)); };
    return _mm_setr_epi32(low(0), low(1), low(2), low(3));
}

// Adds four mono values times (left, right) gains, given per frame pair.
inline void sse2AddStereo(float* out, __m128 values, __m128 gainsLow, __m128 gainsHigh)
{
    const __m128 low = _mm_unpacklo_ps(values, values);
    const __m128 high = _mm_unpackhi_ps(values, values);
    _mm_storeu_ps(out, _mm_add_ps(_mm_loadu_ps(out), _mm_mul_ps(low, gainsLow)));
    _mm_storeu_ps(out + 4, _mm_add_ps(_mm_loadu_ps(out + 4), _mm_mul_ps(high, gainsHigh)));
}

// Each mixes whole groups of four frames, returns how many it mixed and moves the
// run's position past them.
int sse2Steady(MixRun& run, float* out, int frames)
{
    __m128i fractions = sse2Fractions(run.position, run.step);
    const __m128i fractionStep = _mm_set1_epi32(std::int32_t(std::uint32_t(4 * run.step)));
    const __m128 gains = _mm_setr_ps(run.left, run.right, run.left, run.right);
    int i = 0;
    for (; i + 4 <= frames; i += 4) {
        const __m128 values = sse2Values(run.data, run.position, run.step, fractions, fractionStep);
        sse2AddStereo(out + 2 * i, values, gains, gains);
    }
    return i;
}

int sse2Ramped(MixRun& run, float* out, int frames)
{
    __m128i fractions = sse2Fractions(run.position, run.step);
    const __m128i fractionStep = _mm_set1_epi32(std::int32_t(std::uint32_t(4 * run.step)));
    const __m128 start = _mm_setr_ps(run.left, run.right, run.left, run.right);
    const __m128 ramp = _mm_setr_ps(run.rampLeft, run.rampRight, run.rampLeft, run.rampRight);
    __m128 frameLow = _mm_setr_ps(0.0f, 0.0f, 1.0f, 1.0f);
    const __m128 two = _mm_set1_ps(2.0f);
    int i = 0;
    for (; i + 4 <= frames; i += 4) {
        const __m128 frameHigh = _mm_add_ps(frameLow, two);
        const __m128 gainsLow = _mm_add_ps(start, _mm_mul_ps(frameLow, ramp));
        const __m128 gainsHigh = _mm_add_ps(start, _mm_mul_ps(frameHigh, ramp));
        const __m128 values = sse2Values(run.data, run.position, run.step, fractions, fractionStep);
        sse2AddStereo(out + 2 * i, values, gainsLow, gainsHigh);
        frameLow = _mm_add_ps(frameHigh, two);
    }
    return i;
}

#endif

} // namespace

void MixRun::mixSteady(float* out, int frames, [[maybe_unused]] MixLoops loops)
{
    if (left == 0.0f && right == 0.0f) {
        position += frames * step; // silent: it only moves on
        return;
    }
    int i = 0;
#if defined(__SSE2__)
    if (loops == MixLoops::Vector)
        i = sse2Steady(*this, out, frames);
#endif
    for (; i < frames; ++i) {
        const float value = valueAt(data, position);
        out[2 * i] += value * left;
        out[2 * i + 1] += value * right;
        position += step;
    }
}

void MixRun::mixRamped(float* out, int frames, [[maybe_unused]] MixLoops loops)
{
    int i = 0;
#if defined(__SSE2__)
    if (loops == MixLoops::Vector)
        i = sse2Ramped(*this, out, frames);
#endif
    for (; i < frames; ++i) {
        const float value = valueAt(data, position);
        out[2 * i] += value * (left + float(i) * rampLeft);
        out[2 * i + 1] += value * (right + float(i) * rampRight);
        position += step;
    }
    left += float(frames) * rampLeft;
    right += float(frames) * rampRight;
}
