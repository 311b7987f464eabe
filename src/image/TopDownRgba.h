// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

class Image;

// A picture as RGBA rows from the top, the way window systems take icons.
struct TopDownRgba {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    // Empty for a picture that is invalid, compressed or neither RGB nor RGBA.
    static std::optional<TopDownRgba> from(const Image& image);
};
