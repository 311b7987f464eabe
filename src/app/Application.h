// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/Camera.h"
#include "app/DisplayWindow.h"
#include "app/FramePacer.h"
#include "app/FramePresenter.h"
#include "app/InputDevice.h"
#include "platform/EventSource.h"
#include "platform/PlatformWindow.h"
#include "platform/WindowMessage.h"
#include "ui/WindowHost.h"
#include "ui/WindowStack.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

class FilePack;
class Window;

// The shell: the one window and its OpenGL context, the frame loop and the
// routing of input to the top window of its window stack.
class Application : public WindowHost {
public:
    static Application& create(const std::string& className);
    static Application& get();
    static bool exists();
    static void destroy();

    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Opens the window at (x, y) with a client area of width by height,
    // shows and activates it; false when there is no display.
    bool createWindow(const std::string& title, int x, int y, int width, int height);
    // The window's own jobs are the display's, the windows' order the stack's;
    // the shell answers for both as it always has.
    DisplayWindow& display() { return m_display; }
    bool startVideo() { return m_display.startVideo(); }
    ScreenRect desktopRect() const { return m_display.desktopRect(); }
    void destroyWindow() { m_display.destroyWindow(); }
    bool initGraphics() { return m_display.initGraphics(); }
    void releaseGraphics() { m_display.releaseGraphics(); }
    bool setFullScreen(int width, int height) { return m_display.setFullScreen(width, height); }
    void leaveFullScreen() { m_display.leaveFullScreen(); }
    void minimize() { m_display.minimize(); }
    bool isFullScreen() const { return m_display.isFullScreen(); }
    int minimizeRequests() const { return m_display.minimizeRequests(); }
    void setActive(bool active);
    // Follows the window's real state, not the requests.
    bool isMinimized() const { return m_minimized; }
    bool isActive() const { return m_active; }

    WindowStack& windows() { return m_windows; }
    void pushScreen(Window& screen) { m_windows.pushScreen(screen); }
    void pushDialog(Window& dialog) { m_windows.pushDialog(dialog); }
    void removeScreen(Window& screen) { m_windows.removeScreen(screen); }
    void setOverlay(Window* overlay) { m_windows.setOverlay(overlay); }
    void close(bool now) override { m_windows.close(now); }
    const std::vector<Window*>& screens() const { return m_windows.screens(); }
    const std::vector<Window*>& dialogs() const { return m_windows.dialogs(); }
    Window* topWindow() const { return m_windows.topWindow(); }
    Window* frontScreen() const { return m_windows.frontScreen(); }
    // The game's own request to end the program (a screen's close request).
    void postCloseMessage();

    // The frame loop; returns the quit code.
    int run();
    // One pass of the loop: one message, or else one frame. False once the
    // quit message has been taken.
    bool runOnce();
    // Handles every waiting message without drawing a frame.
    void processWaitingMessages();
    void handleMessage(const WindowMessage& message);
    bool hasQuit() const { return m_quit; }
    std::uint64_t frameCount() const { return m_frameCount; }
    using DrawCounts = FramePresenter::DrawCounts;
    const DrawCounts& drawCounts() const { return m_presenter.drawCounts(); }
    // The next frame is drawn whole whatever changed.
    void redrawWhole() { m_presenter.forget(); }

    void setTargetFrameRate(std::uint32_t framesPerSecond)
    {
        m_pacer.setTargetFrameRate(framesPerSecond);
    }
    std::uint32_t targetFrameRate() const { return m_pacer.targetFrameRate(); }
    // Not owned; null returns to the system clock.
    void setFrameClock(FrameClock* clock) { m_pacer.setClock(clock); }
    FrameClock& frameClock() { return m_pacer.clock(); }

    Camera& camera() { return m_camera; }
    InputDevice& input() { return m_input; }
    PlatformWindow& platformWindow() { return m_window; }

    int clientWidth() const override { return m_display.clientWidth(); }
    int clientHeight() const override { return m_display.clientHeight(); }
    int logicalWidth() const override { return m_camera.logicalWidth(); }
    int logicalHeight() const override { return m_camera.logicalHeight(); }
    void onClientResized(int width, int height) { m_display.onClientResized(width, height); }
    float pixelsPerUnit() const { return m_display.pixelsPerUnit(); }
    ScreenRect windowRect() const override { return m_window.outerRect(); }
    void moveWindow(int x, int y) override { m_display.moveWindow(x, y); }
    ScreenPoint pointerPosition() const override { return m_input.pointerPosition(); }
    ScreenPoint cursorScreenPosition() const override { return m_display.cursorScreenPosition(); }
    bool isKeyDown(int virtualKey) const override { return m_events.isKeyDown(virtualKey); }
    bool loadWindowIcon(const FilePack& pack, const std::string& fileName)
    {
        return m_display.loadWindowIcon(pack, fileName);
    }

private:
    explicit Application(std::string className);

    void update(float dt);
    void frame();
    void onCloseRequest(const WindowMessage& message);
    void onRestored();
    void onSizeChanged();
    void routeInput(const WindowMessage& message);
    void routeKeyDown(Window& top, const WindowMessage& message);

    PlatformWindow m_window;
    EventSource m_events{m_window};
    InputDevice m_input;
    Camera m_camera;
    FramePacer m_pacer;
    std::deque<WindowMessage> m_messages;
    WindowStack m_windows{[this] { m_presenter.forget(); }};
    FramePresenter m_presenter{m_window, m_windows};
    DisplayWindow m_display{m_window, m_events, m_input, m_camera, m_presenter};

    std::string m_className;
    bool m_active = false;
    bool m_minimized = false;
    bool m_quit = false;
    int m_quitCode = 0;
    std::uint64_t m_frameCount = 0;
};
