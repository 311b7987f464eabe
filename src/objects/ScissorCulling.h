// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// While a frame is drawn again only inside the scissor box (the regions that
// changed), drawing that lands wholly outside it changes no pixel and can be
// left out. Never while OpenGL records primitives instead of drawing them.
namespace ScissorCulling {

// Whether the rectangle (x0, y0)–(x1, y1) at depth z of the current view
// lands wholly outside the scissor box.
bool outside(float x0, float y0, float x1, float y1, float z);

} // namespace ScissorCulling
