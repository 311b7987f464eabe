// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DisplayWindow.h"

#include "app/Camera.h"
#include "app/FramePresenter.h"
#include "app/InputDevice.h"
#include "image/Image.h"
#include "image/TopDownRgba.h"
#include "objects/ImagePrefetch.h"
#include "objects/TextureReload.h"
#include "platform/EventSource.h"
#include "platform/GlDriver.h"
#include "platform/MessageBox.h"
#include "platform/ProcessMemory.h"
#include "utils/FatalError.h"
#include "utils/FilePack.h"

#include <algorithm>

namespace {

bool isIgnoredFullScreenWidth(int width)
{
    return width == 320 || width == 400 || width == 640;
}

} // namespace

DisplayWindow::DisplayWindow(PlatformWindow& window, EventSource& events, InputDevice& input,
                             Camera& camera, FramePresenter& presenter)
    : m_window(window), m_events(events), m_input(input), m_camera(camera), m_presenter(presenter)
{
}

bool DisplayWindow::createWindow(const std::string& title, int x, int y, int width, int height)
{
    if (!startVideo())
        return false;
    m_window.setLogicalSize(m_camera.logicalWidth(), m_camera.logicalHeight());
    if (!m_window.create(title, x, y, width, height))
        return false;
    onClientResized(m_window.clientWidth(), m_window.clientHeight());
    // Until the first pointer event, wherever the system last saw the pointer.
    const ScreenPoint cursor = PlatformWindow::cursorScreenPosition();
    m_events.setPointer({cursor.x - x, cursor.y - y});
    m_window.show();
    FatalError::setMessageBox([](const std::string& caption, const std::string& text) {
        MessageBox::showError(caption, text);
    });
    return true;
}

bool DisplayWindow::startVideo()
{
    if (m_videoStarted)
        return true;
    if (!PlatformWindow::startVideo())
        return false;
    m_videoStarted = true;
    m_desktop = PlatformWindow::desktopRect();
    return true;
}

void DisplayWindow::destroyWindow()
{
    if (!m_window.isOpen())
        return;
    releaseGraphics();
    FatalError::setMessageBox(nullptr);
    m_window.destroy();
    m_fullScreen = false;
    if (m_videoStarted)
        PlatformWindow::stopVideo();
    m_videoStarted = false;
}

bool DisplayWindow::initGraphics()
{
    if (!m_window.createContext())
        return false;
    GlDriver::log();
    m_presenter.forget();
    if (GlDriver::rendersInSoftware())
        ProcessMemory::keepFreed();
    m_window.setSwapInterval(1);
    m_input.create(m_window, m_events);
    updateViewportOrigin();
    TextureReload::onNewContext(pixelsPerUnit());
    return true;
}

void DisplayWindow::releaseGraphics()
{
    if (!m_window.hasContext())
        return;
    TextureReload::onContextGone();
    m_input.release();
    m_window.destroyContext();
}

bool DisplayWindow::setFullScreen(int width, int height)
{
    if (isIgnoredFullScreenWidth(width) || !m_window.isOpen())
        return m_fullScreen;
    if (!m_fullScreen)
        m_placement.rememberWindowed(m_window.outerRect(), m_clientWidth, m_clientHeight);
    m_desktop = PlatformWindow::desktopRect();
    releaseGraphics();
    m_fullScreen = m_window.enterFullScreen(width, height);
    onClientResized(m_window.clientWidth(), m_window.clientHeight());
    initGraphics();
    return m_fullScreen;
}

void DisplayWindow::leaveFullScreen()
{
    if (!m_window.isOpen())
        return;
    releaseGraphics();
    m_window.leaveFullScreen();
    m_fullScreen = false;
    const ScreenPoint place = m_placement.windowedPlace(m_desktop);
    m_window.resize(m_placement.windowedWidth(), m_placement.windowedHeight());
    m_window.move(place.x, place.y);
    onClientResized(m_window.clientWidth(), m_window.clientHeight());
    initGraphics();
}

void DisplayWindow::minimize()
{
    if (m_fullScreen)
        leaveFullScreen();
    // Minimised once the window system says so: it may refuse, and a game
    // that thought itself minimised would stop drawing for good.
    m_window.minimize();
    ++m_minimizeRequests;
}

void DisplayWindow::onClientResized(int width, int height)
{
    m_clientWidth = width;
    m_clientHeight = height;
    m_presenter.forget();
    updateViewportOrigin();
    TextureReload::onScaleChanged(pixelsPerUnit(), m_window.hasContext());
    // The menus set their viewport only when shown; a window resized under
    // them must draw into its new client area from the next frame on.
    if (m_window.hasContext())
        m_camera.applyViewport(float(width), float(height));
}

float DisplayWindow::pixelsPerUnit() const
{
    if (m_camera.logicalWidth() <= 0 || m_camera.logicalHeight() <= 0)
        return 1.0f;
    return std::min(float(m_clientWidth) / float(m_camera.logicalWidth()),
                    float(m_clientHeight) / float(m_camera.logicalHeight()));
}

void DisplayWindow::updateViewportOrigin()
{
    const ScreenRect client = m_window.clientRect();
    // OpenGL counts rows from the bottom of the drawable.
    m_camera.setViewportOrigin(client.left, m_window.drawableHeight() - client.bottom);
}

void DisplayWindow::moveWindow(int x, int y)
{
    if (m_fullScreen)
        return;
    const ScreenRect before = m_window.outerRect();
    m_window.move(x, y);
    // The pointer stays where it is on the screen, so it moves within the window.
    const ScreenRect after = m_window.outerRect();
    const ScreenPoint pointer = m_events.pointer();
    m_events.setPointer(
        {pointer.x - (after.left - before.left), pointer.y - (after.top - before.top)});
}

ScreenPoint DisplayWindow::cursorScreenPosition() const
{
    const ScreenRect outer = m_window.outerRect();
    const ScreenPoint pointer = m_events.pointer();
    return {outer.left + pointer.x, outer.top + pointer.y};
}

bool DisplayWindow::loadWindowIcon(const FilePack& pack, const std::string& fileName)
{
    const std::unique_ptr<Image> decoded = ImagePrefetch::takeOrDecode(pack, fileName);
    const std::optional<TopDownRgba> icon =
        decoded != nullptr ? TopDownRgba::from(*decoded) : std::nullopt;
    if (!icon)
        return false;
    m_window.setIcon(icon->width, icon->height, icon->pixels.data());
    return true;
}
