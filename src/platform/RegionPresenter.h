// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct SDL_Window;

// A rectangle of the drawing buffer in OpenGL's terms: from its lower-left
// pixel, rows counted from the bottom.
struct BufferRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const BufferRect&) const = default;
};

// Shows parts of the back buffer on the window without swapping, so the back
// buffer still holds the whole frame afterwards and the next frame need only
// draw what changed. Offered only by software renderers: there a swap is the
// same copy of the whole buffer, so nothing (no vertical sync) is given up.
class RegionPresenter {
public:
    // With the window's context current.
    void attach(SDL_Window& window);
    void detach();
    bool isAvailable() const { return m_copy != nullptr; }
    void present(const BufferRect& rect) const;

private:
    using CopySubBuffer = void (*)(void*, unsigned long, int, int, int, int);

    CopySubBuffer m_copy = nullptr;
    void* m_display = nullptr;
    unsigned long m_drawable = 0;
};
