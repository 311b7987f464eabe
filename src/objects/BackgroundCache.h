// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <functional>

class Texture;

// A picture that fills the whole view (a screen's background), kept as it
// lands on the view's pixels. Scaling a large picture to a full screen is the
// dearest thing a software renderer does each frame; once the same picture
// has been drawn the same way twice in a row, the drawn pixels are copied into
// a texture of the view's size and later frames put that back one texel per
// pixel. The pixels on the screen are the same either way.
//
// Draw the background first in a frame (it replaces every pixel of the view).
class BackgroundCache {
public:
    // Draws `drawDirect` (which must draw `texture` over the whole view) or
    // its kept copy.
    static void draw(const Texture& texture, const std::function<void()>& drawDirect);
    // How many frames drew the copy instead of the picture; for tests.
    static std::uint64_t copiesDrawn();

private:
    struct Key {
        const Texture* texture = nullptr;
        unsigned textureName = 0;
        std::uint64_t upload = 0;
        std::array<int, 4> viewport{};
        std::array<float, 16> projection{};
        std::array<float, 16> modelView{};
        std::uint64_t contextGeneration = 0;
        bool operator==(const Key&) const = default;
    };
    static Key currentKey(const Texture& texture);
    static void capture(const Key& key);
    static void drawCopy(const Key& key);
};
