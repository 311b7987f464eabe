// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/RegionPresenter.h"

#include <cstdint>
#include <functional>
#include <string>

struct SDL_Window;

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// The game's one borderless window and its OpenGL context. The client area is
// the part of the window the game draws into: the largest centred area of the
// logical aspect, windowed or full screen (the rest shows black bars).
class PlatformWindow {
public:
    PlatformWindow() = default;
    ~PlatformWindow();
    PlatformWindow(const PlatformWindow&) = delete;
    PlatformWindow& operator=(const PlatformWindow&) = delete;

    // Starts the video subsystem; false when there is no display.
    static bool startVideo();
    static void stopVideo();
    static ScreenRect desktopRect();
    static ScreenPoint cursorScreenPosition();

    // The aspect the client area keeps; 800 by 600 unless set before create.
    void setLogicalSize(int width, int height);
    // Creates the window hidden at (x, y), width by height.
    bool create(const std::string& title, int x, int y, int width, int height);
    void destroy();
    bool isOpen() const { return m_window != nullptr; }
    std::uint32_t id() const;

    void show();
    void hide();
    void minimize();
    void move(int x, int y);
    void resize(int width, int height);
    ScreenRect outerRect() const;
    void setIcon(int width, int height, const std::uint8_t* rgbaTopDown);

    // Covers the desktop at its own resolution; the client area becomes the
    // largest area of the logical aspect that fits, centred.
    bool enterFullScreen(int logicalWidth, int logicalHeight);
    // After the window system changed the window's size.
    void fitClientToWindow();
    void leaveFullScreen();
    bool isFullScreen() const { return m_fullScreen; }

    // The client area in window coordinates (top-left origin) and its size.
    ScreenRect clientRect() const { return m_client; }
    int clientWidth() const { return m_client.right - m_client.left; }
    int clientHeight() const { return m_client.bottom - m_client.top; }
    int drawableWidth() const { return m_drawableWidth; }
    int drawableHeight() const { return m_drawableHeight; }
    ScreenPoint clientToScreen(ScreenPoint client) const;
    // Moves the system pointer to a point of the client area.
    void warpPointer(int clientX, int clientY) const;

    // Whether a press of the left button at a point of the client area moves
    // the window.
    using DragArea = std::function<bool(int clientX, int clientY)>;
    // Lets the window system move the window for presses in `area` (a Wayland
    // compositor, or an X11 window manager; a bare X server moves nothing):
    // such presses then never reach the game. False where it cannot, and the
    // game moves the window itself.
    bool letSystemDrag(DragArea area);
    // The window system's question, in window coordinates.
    bool isDragPoint(int windowX, int windowY) const;

    bool createContext();
    void destroyContext();
    bool hasContext() const { return m_context != nullptr; }
    void swapBuffers();
    // After a swap the back buffer's content is undefined; counted so a
    // frame that builds on the last one knows when it cannot.
    std::uint64_t swapCount() const { return m_swaps; }
    // Whether presentRegion() works: the back buffer then keeps each frame.
    bool canPresentRegions() const { return m_presenter.isAvailable(); }
    void presentRegion(const BufferRect& rect) const { m_presenter.present(rect); }
    bool setSwapInterval(int interval);
    static bool extensionSupported(const char* name);
    static void* procAddress(const char* name);

private:
    void fitClientArea(int windowWidth, int windowHeight, int logicalWidth, int logicalHeight);
    void waitForDrawableSize(int width, int height);

    SDL_Window* m_window = nullptr;
    void* m_context = nullptr;
    RegionPresenter m_presenter;
    DragArea m_dragArea;
    std::uint64_t m_swaps = 0;
    ScreenRect m_client;
    int m_drawableWidth = 0;
    int m_drawableHeight = 0;
    bool m_fullScreen = false;
    int m_logicalWidth = 800;
    int m_logicalHeight = 600;
};
