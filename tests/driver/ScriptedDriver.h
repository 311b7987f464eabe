// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "driver/ControlledClock.h"
#include "driver/Screenshot.h"
#include "platform/EventInjector.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class Application;
class Window;

struct DriverOptions {
    int x = 0;
    int y = 0;
    int width = 800;
    int height = 600;
    bool fullScreen = false;
    unsigned seed = 1;
    std::uint32_t framesPerSecond = 60;
    // When set, game.log goes there (emptied first).
    std::string logFile;
};

// Runs the real Application in-process: a real window and OpenGL context
// (Xvfb and Mesa in the test runs), a controlled clock that makes every frame
// last the frame budget, a seeded rand, and input pushed into the platform's
// event queue as the player would make it. Positions are logical (800 × 600)
// unless a name says client.
//
//     ScriptedDriver driver;
//     driver.show(screen);
//     driver.click(400, 300);
//     driver.press(VirtualKey::Escape);
//     driver.runFrames(120);
//     driver.saveScreenshot("after.png");
class ScriptedDriver {
public:
    explicit ScriptedDriver(const DriverOptions& options = {});
    ~ScriptedDriver();
    ScriptedDriver(const ScriptedDriver&) = delete;
    ScriptedDriver& operator=(const ScriptedDriver&) = delete;

    // False when no display or OpenGL was found; tests skip then.
    bool available() const { return m_available; }
    Application& app();
    ControlledClock& clock() { return m_clock; }

    // Pushes the window as the front screen.
    void show(Window& screen);

    void moveTo(int x, int y);
    void press(MouseButton button = MouseButton::Left);
    void release(MouseButton button = MouseButton::Left);
    void click(int x, int y, MouseButton button = MouseButton::Left);
    void moveToClient(int clientX, int clientY);

    void keyDown(int virtualKey);
    void keyUp(int virtualKey);
    // Down and up.
    void press(int virtualKey);
    // One more key down from the keyboard's auto-repeat, the key still held.
    void keyRepeat(int virtualKey);
    // Each byte arrives as one character.
    void type(const std::string& text);

    void focus(bool gained);
    void minimizedByUser();
    void restoredByUser();
    // The player's close request (the window's close button or Alt+F4's end).
    void requestClose();

    // Handles the waiting input, then runs frames until `count` more were
    // drawn or the program quit. Returns the frames drawn.
    int runFrames(int count);
    // Runs frames until `done` holds (checked before each) or the program
    // quit. `limit` frames only guard against a hang; returns whether it held.
    bool runUntil(const std::function<bool()>& done, int limit = 3000);
    void processInput();
    // After the window was created, moved or switched to or from full screen:
    // waits for the window system and lets the next frames use the new size.
    void settle();

    // The client area as drawn by the last frame, top row first, RGB.
    std::vector<std::uint8_t> capture(int& width, int& height) const;
    Screenshot screenshot() const;
    // How many pixels of the client area (client pixels) match in the last frame.
    int countPixels(const PixelRect& area, const std::function<bool(Rgb)>& match) const;
    Rgb pixel(int x, int y) const;
    bool saveScreenshot(const std::string& path) const;

    // Resizes the window the way a window manager or a tool does, from
    // outside the game, and waits until the game has taken the new size;
    // like settle(), it lets the next frame use the new size.
    bool resizeFromOutside(int width, int height);
    // The whole window as drawn by the last frame, black bars included;
    // magenta where the drawing buffer does not cover the window.
    Screenshot wholeWindow() const;

    int toClientX(int x) const;
    int toClientY(int y) const;

private:
    std::string systemWindowId() const;

    ControlledClock m_clock;
    std::unique_ptr<EventInjector> m_injector;
    bool m_available = false;
    int m_pointerX = 0;
    int m_pointerY = 0;
};
