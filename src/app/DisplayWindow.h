// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/PlatformWindow.h"
#include "platform/WindowPlacement.h"

#include <string>

class Camera;
class EventSource;
class FilePack;
class FramePresenter;
class InputDevice;

// The program window and its OpenGL context: opened, made full screen and
// windowed again, moved and resized. The camera's viewport, the art set and
// the input device follow the window's client area and context.
class DisplayWindow {
public:
    // All not owned; they outlive the display.
    DisplayWindow(PlatformWindow& window, EventSource& events, InputDevice& input, Camera& camera,
                  FramePresenter& presenter);

    // Opens the window at (x, y) with a client area of width by height and
    // shows it; false when there is no display.
    bool createWindow(const std::string& title, int x, int y, int width, int height);
    // Starts the window system once; false when there is no display. The
    // desktop's size is known only from then on.
    bool startVideo();
    ScreenRect desktopRect() const { return m_desktop; }
    void destroyWindow();
    // Context, input device, every texture uploaded again when next drawn;
    // logs the driver.
    bool initGraphics();
    void releaseGraphics();

    // Returns whether full screen is now in force.
    bool setFullScreen(int width, int height);
    void leaveFullScreen();
    void minimize();
    bool isFullScreen() const { return m_fullScreen; }
    int minimizeRequests() const { return m_minimizeRequests; }

    int clientWidth() const { return m_clientWidth; }
    int clientHeight() const { return m_clientHeight; }
    // The size the window procedure remembers when the client area changes.
    void onClientResized(int width, int height);
    // How many pixels of the client area show one logical unit.
    float pixelsPerUnit() const;
    void moveWindow(int x, int y);
    // The pointer in screen coordinates, from the window's own pointer events.
    ScreenPoint cursorScreenPosition() const;
    // The icon picture from the pack (or the disk); false, and no icon, when
    // it is missing or does not decode.
    bool loadWindowIcon(const FilePack& pack, const std::string& fileName);

private:
    void updateViewportOrigin();

    PlatformWindow& m_window;
    EventSource& m_events;
    InputDevice& m_input;
    Camera& m_camera;
    FramePresenter& m_presenter;
    WindowPlacement m_placement;
    ScreenRect m_desktop;
    bool m_videoStarted = false;
    bool m_fullScreen = false;
    int m_minimizeRequests = 0;
    int m_clientWidth = 0;
    int m_clientHeight = 0;
};
