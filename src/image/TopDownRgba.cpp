// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/TopDownRgba.h"

#include "image/Image.h"

#include <algorithm>

std::optional<TopDownRgba> TopDownRgba::from(const Image& image)
{
    if (!image.isValid() || image.isCompressed() ||
        (image.components() != 3 && image.components() != 4))
        return std::nullopt;
    const int width = image.width();
    const int height = image.height();
    const int components = image.components();
    TopDownRgba picture{width, height, {}};
    picture.pixels.resize(std::size_t(width) * std::size_t(height) * 4);
    for (int row = 0; row < height; ++row) {
        // Image rows run bottom-up.
        const std::uint8_t* source =
            image.pixels() + std::size_t(height - 1 - row) * std::size_t(width) * components;
        std::uint8_t* target = picture.pixels.data() + std::size_t(row) * std::size_t(width) * 4;
        for (int column = 0; column < width; ++column, source += components, target += 4) {
            std::copy_n(source, 3, target);
            target[3] = components == 4 ? source[3] : 255;
        }
    }
    return picture;
}
