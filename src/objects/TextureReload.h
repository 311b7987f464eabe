// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// When the pictures on the GPU must be read again: a new OpenGL context, or
// a window scale that calls for the other art set, another language.
class TextureReload {
public:
    // The art set for the new context's scale; the names of the old context
    // are dropped and every texture is uploaded when next bound.
    static void onNewContext(float pixelsPerUnit);
    static void onContextGone();
    // The window shows another number of pixels per logical unit.
    static void onScaleChanged(float pixelsPerUnit, bool hasContext);
    // Another language is spoken: its pictures are read when next bound.
    static void onLanguageChanged(bool hasContext);
};
