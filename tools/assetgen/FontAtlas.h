#pragma once

#include "Raster.h"

#include <string>

// Renders the characters "!" to "~" of a TrueType font into the game's font
// image: lines of glyphs separated by empty rows, each line starting with a
// full-height marker bar, glyphs separated by empty columns. Each glyph's box
// spans its advance (a nearly transparent row keeps the box one run of ink),
// so the game's column scan recovers the font's own spacing.
Surface renderFontAtlas(const std::string& ttfPath, int pixelSize, int imageWidth);
