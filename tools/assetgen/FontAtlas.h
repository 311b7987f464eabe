// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Raster.h"

#include <string>

// Renders the characters "!" to "~" of a TrueType font into the game's font
// image: lines of glyphs separated by empty rows, each line starting with a
// full-height marker bar, glyphs separated by empty columns, and after "~" one
// faint run whose box is the word space, then U+00A1 to U+017F (Latin-1 and
// Latin Extended-A). The ASCII glyphs set the line's height; the marks of the
// other letters are lowered and flattened where they would leave it. The game spaces text by each
// glyph's run of ink, a tenth of a word space after every glyph; so every box is the glyph's ink
// alone (no faint fringe), and every letter keeps its own shape. At a scale above 1 the picture is
// that many times larger with every glyph, line and marker in the same place relative to its size
// as at scale 1.
Surface renderFontAtlas(const std::string& ttfPath, int pixelSize, int imageWidth, int scale = 1);
