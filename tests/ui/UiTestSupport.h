// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "objects/Texture.h"
#include "ui/Control.h"
#include "ui/Dialog.h"
#include "ui/Window.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <vector>

// A TGA picture of `frames` bands stacked bottom to top in the file's row order,
// band i in colours[i]; small enough to build in every test.
inline std::vector<std::uint8_t> bandedTga(int width, int bandHeight,
                                           const std::vector<std::uint32_t>& colours)
{
    const int height = bandHeight * int(colours.size());
    std::vector<std::uint8_t> bytes = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    bytes.insert(bytes.end(), {std::uint8_t(width & 255), std::uint8_t(width >> 8),
                               std::uint8_t(height & 255), std::uint8_t(height >> 8), 32, 8});
    for (int row = 0; row < height; ++row) {
        const std::uint32_t rgb = colours[std::size_t(row / bandHeight)];
        for (int column = 0; column < width; ++column)
            bytes.insert(bytes.end(),
                         {std::uint8_t(rgb), std::uint8_t(rgb >> 8), std::uint8_t(rgb >> 16), 255});
    }
    return bytes;
}

// A font picture of one line: the marker, then `runs` glyph runs 3 columns
// wide (after the 94 ASCII ones the space box, then the Latin letters).
inline std::vector<std::uint8_t> blockFontTga(int runs = 94)
{
    const int width = 4 + runs * 4 + 4, height = 16;
    std::vector<std::uint8_t> bytes(18 + std::size_t(width * height) * 4, 255);
    const std::uint8_t header[18] = {0,
                                     0,
                                     2,
                                     0,
                                     0,
                                     0,
                                     0,
                                     0,
                                     0,
                                     0,
                                     0,
                                     0,
                                     std::uint8_t(width & 255),
                                     std::uint8_t(width >> 8),
                                     std::uint8_t(height),
                                     0,
                                     32,
                                     8};
    std::copy(std::begin(header), std::end(header), bytes.begin());
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column) {
            const bool lineRow = row >= 3 && row <= 13;
            const bool marker = column < 2;
            const bool glyph = column >= 3 && column < 3 + runs * 4 && (column - 3) % 4 < 3;
            bytes[18 + std::size_t(row * width + column) * 4 + 3] =
                lineRow && (marker || glyph) ? 255 : 0;
        }
    return bytes;
}

// A texture of the given size that knows its size without a context.
inline std::unique_ptr<Texture> makeTexture(int width, int height)
{
    auto texture = std::make_unique<Texture>("test.tga", bandedTga(width, height, {0xffffff}),
                                             TextureWrap::Clamp, TextureMipmaps::None);
    texture->upload();
    return texture;
}

// A window that counts the reports of its controls.
class OwnerWindow : public Window {
public:
    void onControl(Control& control) override
    {
        Window::onControl(control);
        used.push_back(&control);
    }
    std::vector<Control*> used;
};

class TestDialog : public Dialog {
public:
    void onControl(Control& control) override { used.push_back(&control); }
    std::vector<Control*> used;
};
