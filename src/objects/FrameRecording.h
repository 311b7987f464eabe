// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <GL/gl.h>

#include <cstdint>

// While a frame is recorded in OpenGL's feedback mode to find what changed
// (app/FrameDamage), the record holds each primitive's corners, colours and
// texture coordinates but none of the state that decides its pixels besides:
// blending, the texture bound and its filters, the texture environment, the
// alpha test, the clear colour. Every draw therefore marks the record with a
// digest of that state (pass-through tokens, only while recording), and a
// clear is recorded as a primitive over the whole buffer.
class FrameRecording {
public:
    // Around the recorded drawing into a buffer of width by height.
    static void start(int width, int height);
    static void stop();
    static bool isOn() { return s_on; }

    // Before a draw: marks the record when the state differs from the last mark.
    static void markState();
    // glClear, recorded while recording (when nothing reaches the pixels).
    static void clear(GLbitfield mask);
    // The digest of the state a draw's pixels depend on beyond the record.
    static std::uint64_t stateDigest();

private:
    static void pass(std::uint64_t digest);

    static inline bool s_on = false;
};
