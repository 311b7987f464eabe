// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Which loops mix: the vector loops of the processor where the build has them
// (SSE2), with the scalar loops for the frames left over; or the scalar loops
// alone, as a build for a processor without them plays (compared in tests).
enum class MixLoops { Vector, Scalar };

// One stretch of a voice that needs no decision per frame: the caller has cut it
// at the loop edge and at the end of a gain ramp, so every frame interpolates
// between two stored values and adds the result to both sides.
struct MixRun {
    const std::int16_t* data = nullptr; // with a guard value after the loop end
    std::int64_t position = 0;          // 32.32 fixed point; left just after the run
    std::int64_t step = 0;              // negative while a ping-pong loop runs backwards
    float left = 0.0f;                  // gains; ramped ones are left at the run's end
    float right = 0.0f;
    float rampLeft = 0.0f; // per frame
    float rampRight = 0.0f;

    // Adds `frames` frames to interleaved stereo at constant gains.
    void mixSteady(float* out, int frames, MixLoops loops = MixLoops::Vector);
    // The same with gains changing by the ramp every frame.
    void mixRamped(float* out, int frames, MixLoops loops = MixLoops::Vector);
};
