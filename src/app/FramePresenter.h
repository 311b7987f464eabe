// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/FrameDamage.h"

#include <cstdint>
#include <vector>

class PlatformWindow;
class WindowStack;

// Draws the windows on show and puts the frame on the screen: whole, or,
// where the windows allow it and the window keeps each frame in its back
// buffer, only the regions that changed. The area outside the client area
// shows black bars.
class FramePresenter {
public:
    // How the frames were drawn: whole, only the changed regions, or not at
    // all since nothing changed.
    struct DrawCounts {
        std::uint64_t whole = 0;
        std::uint64_t regions = 0;
        std::uint64_t unchanged = 0;
    };

    FramePresenter(PlatformWindow& window, WindowStack& windows);

    // earlier: a frame was drawn before; the program's first is always drawn
    // whole. Nothing is drawn while minimized, though the frame is shown.
    void present(bool earlier, bool minimized);
    // The next frame is drawn whole whatever changed.
    void forget() { m_damage.forget(); }
    // The window system resized the window: the next whole frame is swapped,
    // which is when the software renderer takes the drawable's new size.
    void onWindowResized() { m_resizeSwapPending = true; }
    const DrawCounts& drawCounts() const { return m_drawCounts; }

private:
    bool drawsChangesOnly(bool minimized) const;
    void drawWhole(bool minimized);
    void drawChanges();
    void drawRegions(const std::vector<BufferRect>& rects);
    void render(bool minimized);
    void blackOutBars() const;

    PlatformWindow& m_window;
    WindowStack& m_windows;
    FrameDamage m_damage;
    DrawCounts m_drawCounts;
    std::uint64_t m_swapsSeen = 0;
    bool m_resizeSwapPending = false;
};
