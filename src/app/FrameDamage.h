// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/RegionPresenter.h"

#include <array>
#include <cstdint>
#include <vector>

// What changed on the screen since the last frame. The frame's drawing runs
// once in OpenGL's feedback mode, which hands back every primitive in window
// coordinates with its colours and texture coordinates instead of drawing it
// (FrameRecording passes the rest of the drawing state through, and records
// clears). A primitive that differs
// from the one drawn in its place in the sequence of the last frame marks the
// area it covered then and covers now; everything else is as it was, since
// each pixel depends only on the primitives over it, in order.
class FrameDamage {
public:
    struct Primitive {
        std::uint64_t key = 0;
        BufferRect bounds;
        bool operator==(const Primitive&) const = default;
    };
    struct Regions {
        // The whole buffer must be drawn: no earlier frame to build on, or
        // too much changed for regions to pay.
        bool whole = true;
        std::vector<BufferRect> rects;
    };

    FrameDamage();

    // Before the frame's drawing into a buffer of width by height: nothing
    // drawn reaches the pixels until finish().
    void begin(int width, int height);
    // After it: the regions to draw again, and from then on the frame
    // counts as drawn for the next comparison.
    Regions finish();
    // The buffer no longer holds the last frame (a swap, a new context, an
    // exposed window): the next frame is drawn whole.
    void forget() { m_known = false; }

    // Reads a feedback record of the GL_3D_COLOR_TEXTURE kind into
    // primitives clipped to the buffer; false on a token it cannot place.
    static bool read(const float* record, int count, int width, int height,
                     std::vector<Primitive>& out);
    // The areas of the primitives that differ between two frames.
    static std::vector<BufferRect> changes(const std::vector<Primitive>& before,
                                           const std::vector<Primitive>& after);
    // Joins rectangles where one costs hardly more than two, then the
    // cheapest pairs until at most maxCount are left.
    static std::vector<BufferRect> join(std::vector<BufferRect> rects, std::size_t maxCount);

private:
    Regions compare(const std::vector<Primitive>& now) const;

    std::vector<float> m_record;
    std::vector<Primitive> m_last;
    bool m_known = false;
    int m_width = 0;
    int m_height = 0;
    std::uint64_t m_uploads = 0;
    bool m_scissorWasOn = false;
    std::array<int, 4> m_scissorBox{};
};
