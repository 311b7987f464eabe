// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Sets up the logical 2D drawing space (800 by 600 in the game, y downwards).
// In full screen the client area sits inside black bars, so every viewport
// goes through applyViewport, which adds the area's offset.
class Camera {
public:
    int logicalWidth() const { return m_logicalWidth; }
    int logicalHeight() const { return m_logicalHeight; }
    void setLogicalSize(int width, int height);

    // Viewport (0, 0, width, height) of the client area, orthographic
    // projection 0 … logical width, logical height … 0 (or −logical height
    // with flip), near −50, far 50, model-view reset.
    void set2DView(float width, float height, bool flip);
    // glViewport for (0, 0, width, height) of the client area.
    void applyViewport(float width, float height) const;
    // Where the client area's bottom-left corner lies in the drawable, in pixels.
    void setViewportOrigin(int x, int y);

    float viewportWidth() const { return m_viewportWidth; }
    float viewportHeight() const { return m_viewportHeight; }

private:
    int m_logicalWidth = 1024;
    int m_logicalHeight = 768;
    float m_viewportWidth = 0.0f;
    float m_viewportHeight = 0.0f;
    int m_originX = 0;
    int m_originY = 0;
};
