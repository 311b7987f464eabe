// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class Texture;

// Drawing steps the menu screens share.
namespace MenuDrawing {

// The 2D projection of the menus: white clear colour, depth test and
// texturing on, no lighting, the whole client area, orthographic 0 … width,
// height … 0, depth −50 … 50; model-view matrix mode after it.
void setProjection(float logicalWidth, float logicalHeight);
// The projection of the intro picture: the same with alpha test above 0.5.
void setIntroProjection(float logicalWidth, float logicalHeight);
void clearToBlack();
// The 1024 × 1024 picture centred on the 800 × 600 screen, depth test off.
// The view is cleared to black first, but for a software renderer when the
// picture (opaque and larger than the view) replaces every pixel anyway.
void drawBackground(const Texture* texture);
// The texture stretched over (x0, y0)–(x1, y1), the picture's top at y0.
void drawQuad(const Texture* texture, float x0, float y0, float x1, float y1, float z,
              float alpha = 1.0f, bool blend = true);

} // namespace MenuDrawing
