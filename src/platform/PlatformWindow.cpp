// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PlatformWindow.h"

#include "platform/GlDriver.h"
#include "platform/WindowManager.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

PlatformWindow::~PlatformWindow()
{
    destroy();
}

namespace {

// The desktop entry's id: desktops match the window to its entry and icon by
// the X11 class and the Wayland app id. This library reads both from the
// environment when its video starts; a player's own choice stays.
constexpr const char* kAppId = "org.vellomar.Vellomar";

SDL_HitTestResult dragHitTest(SDL_Window*, const SDL_Point* point, void* window)
{
    return static_cast<PlatformWindow*>(window)->isDragPoint(point->x, point->y)
               ? SDL_HITTEST_DRAGGABLE
               : SDL_HITTEST_NORMAL;
}

} // namespace

bool PlatformWindow::startVideo()
{
    // The game decides itself what a close request means (Alt+F4 goes to the screens).
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // Wayland cannot warp the pointer; emulating a warp locks the pointer while
    // the system one is hidden, and the drawn pointer then keeps the offset
    // of wherever the window stood before it went full screen.
    SDL_SetHint(SDL_HINT_VIDEO_WAYLAND_EMULATE_MOUSE_WARP, "0");
    setenv("SDL_VIDEO_X11_WMCLASS", kAppId, 0);
    setenv("SDL_VIDEO_WAYLAND_WMCLASS", kAppId, 0);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return false;
    // Without a display SDL falls back to drawing off-screen, and the game would
    // run on where nobody can see or close it; only a deliberate choice counts.
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool invisible = driver != nullptr && (std::strcmp(driver, "offscreen") == 0 ||
                                                 std::strcmp(driver, "dummy") == 0);
    if (invisible && std::getenv("SDL_VIDEODRIVER") == nullptr) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    return true;
}

void PlatformWindow::stopVideo()
{
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

ScreenRect PlatformWindow::desktopRect()
{
    SDL_Rect bounds{0, 0, 800, 600};
    SDL_GetDisplayBounds(0, &bounds);
    return {bounds.x, bounds.y, bounds.x + bounds.w, bounds.y + bounds.h};
}

ScreenPoint PlatformWindow::cursorScreenPosition()
{
    ScreenPoint point;
    SDL_GetGlobalMouseState(&point.x, &point.y);
    return point;
}

void PlatformWindow::setLogicalSize(int width, int height)
{
    m_logicalWidth = std::max(width, 1);
    m_logicalHeight = std::max(height, 1);
}

bool PlatformWindow::create(const std::string& title, int x, int y, int width, int height)
{
    destroy();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 6);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);
    // Nothing is drawn with the depth test on; without a depth buffer
    // software renderers draw screen-aligned quads on a much faster path.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN;
    m_window =
        SDL_CreateWindow(title.c_str(), x, y, std::max(width, 1), std::max(height, 1), flags);
    if (m_window == nullptr)
        return false;
    fitClientToWindow();
    if (m_dragArea)
        letSystemDrag(m_dragArea);
    return true;
}

bool PlatformWindow::letSystemDrag(DragArea area)
{
    m_dragArea = std::move(area);
    if (m_window == nullptr || !WindowManager::runs(*m_window))
        return false;
    return SDL_SetWindowHitTest(m_window, dragHitTest, this) == 0;
}

bool PlatformWindow::isDragPoint(int windowX, int windowY) const
{
    return m_dragArea && m_dragArea(windowX - m_client.left, windowY - m_client.top);
}

void PlatformWindow::destroy()
{
    destroyContext();
    if (m_window != nullptr)
        SDL_DestroyWindow(m_window);
    m_window = nullptr;
    m_fullScreen = false;
}

std::uint32_t PlatformWindow::id() const
{
    return m_window != nullptr ? SDL_GetWindowID(m_window) : 0;
}

void PlatformWindow::show()
{
    if (m_window == nullptr)
        return;
    SDL_ShowWindow(m_window);
}

void PlatformWindow::hide()
{
    if (m_window != nullptr)
        SDL_HideWindow(m_window);
}

void PlatformWindow::minimize()
{
    if (m_window != nullptr)
        SDL_MinimizeWindow(m_window);
}

void PlatformWindow::move(int x, int y)
{
    if (m_window != nullptr && !m_fullScreen)
        SDL_SetWindowPosition(m_window, x, y);
}

void PlatformWindow::resize(int width, int height)
{
    if (m_window == nullptr || m_fullScreen)
        return;
    SDL_SetWindowSize(m_window, std::max(width, 1), std::max(height, 1));
    waitForDrawableSize(std::max(width, 1), std::max(height, 1));
    fitClientToWindow();
}

ScreenRect PlatformWindow::outerRect() const
{
    if (m_window == nullptr)
        return {};
    int x = 0, y = 0, width = 0, height = 0;
    SDL_GetWindowPosition(m_window, &x, &y);
    SDL_GetWindowSize(m_window, &width, &height);
    return {x, y, x + width, y + height};
}

void PlatformWindow::setIcon(int width, int height, const std::uint8_t* rgbaTopDown)
{
    if (m_window == nullptr || rgbaTopDown == nullptr || width <= 0 || height <= 0)
        return;
    SDL_Surface* icon =
        SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint8_t*>(rgbaTopDown), width, height,
                                           32, width * 4, SDL_PIXELFORMAT_RGBA32);
    if (icon == nullptr)
        return;
    SDL_SetWindowIcon(m_window, icon);
    SDL_FreeSurface(icon);
}

bool PlatformWindow::enterFullScreen(int logicalWidth, int logicalHeight)
{
    if (m_window == nullptr)
        return false;
    setLogicalSize(logicalWidth, logicalHeight);
    const ScreenRect desktop = desktopRect();
    const int desktopWidth = desktop.right - desktop.left;
    const int desktopHeight = desktop.bottom - desktop.top;
    // Cover the desktop by hand first: without a window manager the full-screen
    // request alone changes nothing but the size the library believes in.
    SDL_SetWindowPosition(m_window, desktop.left, desktop.top);
    SDL_SetWindowSize(m_window, desktopWidth, desktopHeight);
    // With nobody to answer the request the library would wait a tenth of a
    // second for an answer; covering the desktop is then all there is to it.
    m_fullScreen = !WindowManager::runs(*m_window) ||
                   SDL_SetWindowFullscreen(m_window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
    SDL_RaiseWindow(m_window);
    waitForDrawableSize(desktopWidth, desktopHeight);
    fitClientArea(desktopWidth, desktopHeight, logicalWidth, logicalHeight);
    return m_fullScreen;
}

void PlatformWindow::leaveFullScreen()
{
    if (m_window == nullptr)
        return;
    SDL_SetWindowFullscreen(m_window, 0);
    m_fullScreen = false;
    fitClientToWindow();
}

// The window system resizes asynchronously; a context made before the new size
// arrives would draw into a buffer of the old size.
void PlatformWindow::waitForDrawableSize(int width, int height)
{
    const Uint32 start = SDL_GetTicks();
    int currentWidth = 0, currentHeight = 0;
    for (;;) {
        SDL_PumpEvents();
        SDL_GL_GetDrawableSize(m_window, &currentWidth, &currentHeight);
        if ((currentWidth == width && currentHeight == height) || SDL_GetTicks() - start > 1000)
            return;
        SDL_Delay(5);
    }
}

void PlatformWindow::fitClientArea(int windowWidth, int windowHeight, int logicalWidth,
                                   int logicalHeight)
{
    const float scale = std::min(float(windowWidth) / float(std::max(logicalWidth, 1)),
                                 float(windowHeight) / float(std::max(logicalHeight, 1)));
    const int width = int(float(logicalWidth) * scale + 0.5f);
    const int height = int(float(logicalHeight) * scale + 0.5f);
    m_client.left = (windowWidth - width) / 2;
    m_client.top = (windowHeight - height) / 2;
    m_client.right = m_client.left + width;
    m_client.bottom = m_client.top + height;
    m_drawableWidth = windowWidth;
    m_drawableHeight = windowHeight;
}

void PlatformWindow::fitClientToWindow()
{
    if (m_window == nullptr)
        return;
    int width = 0, height = 0;
    SDL_GetWindowSize(m_window, &width, &height);
    fitClientArea(width, height, m_logicalWidth, m_logicalHeight);
}

ScreenPoint PlatformWindow::clientToScreen(ScreenPoint client) const
{
    const ScreenRect outer = outerRect();
    return {outer.left + m_client.left + client.x, outer.top + m_client.top + client.y};
}

void PlatformWindow::warpPointer(int clientX, int clientY) const
{
    if (m_window != nullptr)
        SDL_WarpMouseInWindow(m_window, m_client.left + clientX, m_client.top + clientY);
}

bool PlatformWindow::createContext()
{
    if (m_window == nullptr)
        return false;
    destroyContext();
    m_context = SDL_GL_CreateContext(m_window);
    if (m_context == nullptr)
        return false;
    SDL_GL_MakeCurrent(m_window, m_context);
    // A round trip to the window system, so the driver sees the window's
    // present size when it sizes its buffers. The window has its final size
    // by now (full screen waits for it), so no swap of an empty frame is
    // needed to pass that size on: a full-screen swap costs tens of
    // milliseconds with the software drivers.
    int x = 0, y = 0;
    SDL_GetGlobalMouseState(&x, &y);
    GlDriver::identify();
    m_presenter.attach(*m_window);
    return true;
}

void PlatformWindow::destroyContext()
{
    if (m_context == nullptr)
        return;
    m_presenter.detach();
    SDL_GL_MakeCurrent(m_window, nullptr);
    SDL_GL_DeleteContext(m_context);
    m_context = nullptr;
}

void PlatformWindow::swapBuffers()
{
    if (m_context == nullptr)
        return;
    SDL_GL_SwapWindow(m_window);
    ++m_swaps;
}

bool PlatformWindow::setSwapInterval(int interval)
{
    return SDL_GL_SetSwapInterval(interval) == 0;
}

bool PlatformWindow::extensionSupported(const char* name)
{
    return SDL_GL_ExtensionSupported(name) == SDL_TRUE;
}

void* PlatformWindow::procAddress(const char* name)
{
    return SDL_GL_GetProcAddress(name);
}
