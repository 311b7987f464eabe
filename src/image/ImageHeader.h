// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The size and component count of a TGA, PNG or JPEG file, read from its
// header alone, so a texture can know its size long before it is decoded.
// Agrees with what Image::load would deliver for the same bytes; anything it
// does not recognise (DDS files among them) gives nothing.
struct ImageHeader {
    int width = 0;
    int height = 0;
    int components = 0;

    static std::optional<ImageHeader> read(const std::string& name, const std::uint8_t* bytes,
                                           std::size_t size);
};
