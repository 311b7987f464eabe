#pragma once

#include "app/Camera.h"
#include "app/FrameDamage.h"
#include "app/FrameClock.h"
#include "app/InputDevice.h"
#include "platform/EventSource.h"
#include "platform/PlatformWindow.h"
#include "platform/WindowMessage.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

class FilePack;
class Window;

// The shell: the one window and its OpenGL context, the frame loop, the
// screen and dialog stacks and the routing of input to the top window.
// The stacks never own a window; whoever is told of a close deletes it.
class Application {
public:
    static Application& create(const std::string& className);
    static Application& get();
    static bool exists();
    static void destroy();
    // Under a software renderer: freed memory stays with the process.
    static void keepFreedMemory();

    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

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
    // Writes the missing names to standard error and returns false when the
    // driver lacks one of the required extensions.
    bool checkRequiredExtensions() const;

    // Returns whether full screen is now in force.
    bool setFullScreen(int width, int height);
    void leaveFullScreen();
    void minimize();
    void setActive(bool active);
    bool isFullScreen() const { return m_fullScreen; }
    // Follows the window's real state, not the requests.
    bool isMinimized() const { return m_minimized; }
    int minimizeRequests() const { return m_minimizeRequests; }
    bool isActive() const { return m_active; }

    void pushScreen(Window& screen);
    void pushDialog(Window& dialog);
    // Takes a screen off the stack without telling anyone, even the last one
    // (the intro picture once the main menu is built).
    void removeScreen(Window& screen);
    // Drawn over every screen and dialog and updated every frame, taking no
    // input; not owned, null for none.
    void setOverlay(Window* overlay) { m_overlay = overlay; }
    // Closes the top dialog, else the front screen (never the last one). Not
    // now: done at the start of the next update, the way windows close
    // themselves from their own handlers.
    void close(bool now);
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
    // How the frames were drawn: whole, only the changed regions, or not at
    // all since nothing changed.
    struct DrawCounts {
        std::uint64_t whole = 0;
        std::uint64_t regions = 0;
        std::uint64_t unchanged = 0;
    };
    const DrawCounts& drawCounts() const { return m_drawCounts; }
    // The next frame is drawn whole whatever changed.
    void redrawWhole() { m_damage.forget(); }

    void setTargetFrameRate(std::uint32_t framesPerSecond) { m_targetFrameRate = framesPerSecond; }
    std::uint32_t targetFrameRate() const { return m_targetFrameRate; }
    // Not owned; null returns to the system clock.
    void setFrameClock(FrameClock* clock);
    FrameClock& frameClock() { return *m_clock; }

    Camera& camera() { return m_camera; }
    InputDevice& input() { return m_input; }
    PlatformWindow& platformWindow() { return m_window; }
    const std::vector<Window*>& screens() const { return m_screens; }
    const std::vector<Window*>& dialogs() const { return m_dialogs; }
    Window* topWindow() const;
    Window* frontScreen() const;

    int clientWidth() const { return m_clientWidth; }
    int clientHeight() const { return m_clientHeight; }
    // The size the window procedure remembers when the client area changes.
    void onClientResized(int width, int height);
    // How many pixels of the client area show one logical unit.
    float pixelsPerUnit() const;
    ScreenRect windowRect() const { return m_window.outerRect(); }
    void moveWindow(int x, int y);
    // The pointer in screen coordinates, from the window's own pointer events.
    ScreenPoint cursorScreenPosition() const;
    bool isKeyDown(int virtualKey) const { return m_events.isKeyDown(virtualKey); }
    void setWindowIcon(int width, int height, const std::uint8_t* rgbaTopDown);
    // The icon picture from the pack (or the disk); false, and no icon, when
    // it is missing or does not decode.
    bool loadWindowIcon(const FilePack& pack, const std::string& fileName);

    // Keeps a window of the given size on a screen of the given size.
    static ScreenPoint keepOnScreen(int x, int y, int width, int height, int screenWidth,
                                    int screenHeight);

private:
    explicit Application(std::string className);

    void update(float dt);
    void render();
    void renderWindows();
    void frame();
    // Whether the screens on show allow drawing only what changed, and the
    // window keeps each frame in its back buffer.
    bool drawsChangesOnly() const;
    void drawWhole();
    void drawChanges();
    void drawRegions(const std::vector<BufferRect>& rects);
    void sleepRestOfBudget(std::uint32_t frameStart);
    void closeTopWindow();
    void tellOwnerOfClosedWindow();
    void onCloseRequest(const WindowMessage& message);
    void onRestored();
    void routeInput(const WindowMessage& message);
    void logDriver() const;
    void blackOutBars() const;
    void updateViewportOrigin();

    PlatformWindow m_window;
    EventSource m_events{m_window};
    InputDevice m_input;
    Camera m_camera;
    SystemFrameClock m_systemClock;
    FrameClock* m_clock = &m_systemClock;
    std::deque<WindowMessage> m_messages;

    std::vector<Window*> m_screens;
    std::vector<Window*> m_dialogs;
    Window* m_overlay = nullptr;
    Window* m_closedWindow = nullptr;
    bool m_closedWasDialog = false;
    bool m_tellOwnerPending = false;
    bool m_closeRequested = false;

    std::string m_className;
    std::string m_title;
    bool m_videoStarted = false;
    bool m_active = false;
    bool m_fullScreen = false;
    bool m_minimized = false;
    int m_minimizeRequests = 0;
    bool m_quit = false;
    int m_quitCode = 0;
    int m_clientWidth = 0;
    int m_clientHeight = 0;
    int m_windowedWidth = 0;
    int m_windowedHeight = 0;
    int m_windowedX = 0;
    int m_windowedY = 0;
    int m_windowX = 0;
    int m_windowY = 0;
    ScreenRect m_desktop;
    std::uint32_t m_targetFrameRate = 0;
    std::uint32_t m_lastTime = 0;
    bool m_timing = false;
    std::uint64_t m_frameCount = 0;
    FrameDamage m_damage;
    DrawCounts m_drawCounts;
    std::uint64_t m_swapsSeen = 0;
    // The window system resized the window: the next whole frame is swapped,
    // which is when the software renderer takes the drawable's new size.
    bool m_resizeSwapPending = false;
};
