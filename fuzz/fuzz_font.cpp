// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the font's glyph scan, then measures text with
// whatever glyphs it found.
#include "objects/Font.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Font font;
    font.load(data, size, nullptr);
    if (font.glyphCount() > Font::kMaxGlyphs)
        std::abort();
    const float width = font.measure("Vellomar 1234\t!~\x7f\xff \xc5\x81\xc3\xb3"
                                     "d\xc5\xba\xc3",
                                     20.0f);
    font.firstMissingGlyph("Zo\xc3\xab \xe2\x82\xac\xc3");
    if (std::isnan(width))
        std::abort();
    return 0;
}
