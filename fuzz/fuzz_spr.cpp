// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the sprite description reader; the counts it gives
// must always be usable as divisors.
#include "objects/GridSprite.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const SpriteDescription description =
        SpriteDescription::parse(reinterpret_cast<const char*>(data), size);
    if (description.groups < 1 || description.frames < 1)
        std::abort();
    return 0;
}
