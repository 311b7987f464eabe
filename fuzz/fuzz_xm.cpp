// SPDX-License-Identifier: GPL-3.0-or-later
// XM loader followed by two seconds of playback through the real player.
#include "audio/MusicRender.h"
#include "audio/XmLoader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (loadXmModule(data, size, 64) != nullptr) {
        renderModule(data, size, 2.0);
    }
    return 0;
}
