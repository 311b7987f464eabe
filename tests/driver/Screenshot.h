// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Rgb {
    int r = 0, g = 0, b = 0;
};

// Pixels x0 … x1 − 1 by y0 … y1 − 1.
struct PixelRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// A captured picture, top row first, three bytes (red, green, blue) a pixel.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    bool empty() const { return width <= 0 || height <= 0; }
    // Black outside the picture.
    Rgb at(int x, int y) const;
    // How many pixels of the area (clipped to the picture) match.
    int count(const PixelRect& area, const std::function<bool(Rgb)>& match) const;
    // The mean colour of the area (clipped to the picture).
    Rgb mean(const PixelRect& area) const;
    bool savePng(const std::string& path) const;
};
