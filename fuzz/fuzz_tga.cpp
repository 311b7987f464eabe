// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the TGA decoder: it must never read outside the
// buffer, and whatever it calls valid must hold the pixels it claims.
#include "image/Image.h"
#include "image/ImageHeader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0; // size 0 means "read this file from the disk"
    // The quick header read at start-up sees the same bytes first.
    (void)ImageHeader::read("fuzz.tga", data, size);
    Image image;
    image.load("fuzz.tga", data, size);
    if (image.isValid() && image.dataSize() > 0) {
        volatile std::uint8_t last = image.pixels()[image.dataSize() - 1];
        (void)last;
        for (int i = 0; i < image.mipmapCount(); ++i)
            (void)image.mipmap(i).data.size();
    }
    return 0;
}
