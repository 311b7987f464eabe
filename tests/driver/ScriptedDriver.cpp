// SPDX-License-Identifier: GPL-3.0-or-later
#include "driver/ScriptedDriver.h"

#include "app/Application.h"
#include "driver/WindowTestProcess.h"
#include "support/ToolRun.h"
#include "ui/Window.h"
#include "utils/FatalError.h"
#include "utils/Log.h"

#include <GL/gl.h>

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

int logicalToClient(int value, int clientSize, int logicalSize)
{
    // Rounded up, so that the window's truncating conversion gives the value back.
    return int(std::ceil(double(value) * clientSize / logicalSize));
}

// OpenGL counts rows from the bottom.
std::vector<std::uint8_t> flipRows(const std::vector<std::uint8_t>& rgb, int width, int height)
{
    std::vector<std::uint8_t> flipped(rgb.size());
    const std::size_t rowBytes = std::size_t(width) * 3;
    for (int row = 0; row < height; ++row)
        std::copy_n(rgb.data() + std::size_t(height - 1 - row) * rowBytes, rowBytes,
                    flipped.data() + std::size_t(row) * rowBytes);
    return flipped;
}

} // namespace

ScriptedDriver::ScriptedDriver(const DriverOptions& options)
{
    prepareWindowTestProcess();
    std::srand(options.seed);
    if (!options.logFile.empty())
        Log::open(options.logFile);
    Application& application = Application::create("main");
    application.setTargetFrameRate(options.framesPerSecond);
    application.camera().setLogicalSize(800, 600);
    application.setFrameClock(&m_clock);
    if (!application.createWindow("Vellomar", options.x, options.y, options.width,
                                  options.height)) {
        Application::destroy();
        return;
    }
    // A message box would wait for a click nobody makes.
    FatalError::setMessageBox(nullptr);
    if (options.fullScreen)
        application.setFullScreen(800, 600);
    else if (!application.initGraphics()) {
        Application::destroy();
        return;
    }
    m_injector = std::make_unique<EventInjector>(application.platformWindow());
    m_available = application.platformWindow().hasContext();
    settle();
}

ScriptedDriver::~ScriptedDriver()
{
    m_injector.reset();
    Application::destroy();
}

Application& ScriptedDriver::app()
{
    return Application::get();
}

void ScriptedDriver::show(Window& screen)
{
    app().pushScreen(screen);
}

int ScriptedDriver::toClientX(int x) const
{
    Application& application = Application::get();
    return logicalToClient(x, application.clientWidth(), application.camera().logicalWidth());
}

int ScriptedDriver::toClientY(int y) const
{
    Application& application = Application::get();
    return logicalToClient(y, application.clientHeight(), application.camera().logicalHeight());
}

void ScriptedDriver::moveTo(int x, int y)
{
    moveToClient(toClientX(x), toClientY(y));
}

void ScriptedDriver::moveToClient(int clientX, int clientY)
{
    m_pointerX = clientX;
    m_pointerY = clientY;
    m_injector->moveMouse(clientX, clientY);
    processInput();
}

void ScriptedDriver::press(MouseButton button)
{
    m_injector->button(button, true, m_pointerX, m_pointerY);
    processInput();
}

void ScriptedDriver::release(MouseButton button)
{
    m_injector->button(button, false, m_pointerX, m_pointerY);
    processInput();
}

void ScriptedDriver::click(int x, int y, MouseButton button)
{
    moveTo(x, y);
    press(button);
    release(button);
}

void ScriptedDriver::keyDown(int virtualKey)
{
    m_injector->key(virtualKey, true);
    processInput();
}

void ScriptedDriver::keyUp(int virtualKey)
{
    m_injector->key(virtualKey, false);
    processInput();
}

void ScriptedDriver::press(int virtualKey)
{
    keyDown(virtualKey);
    keyUp(virtualKey);
}

void ScriptedDriver::keyRepeat(int virtualKey)
{
    m_injector->key(virtualKey, true, true);
    processInput();
}

void ScriptedDriver::type(const std::string& text)
{
    m_injector->text(text);
    processInput();
}

void ScriptedDriver::focus(bool gained)
{
    m_injector->focus(gained);
    processInput();
}

void ScriptedDriver::minimizedByUser()
{
    m_injector->minimized();
    processInput();
}

void ScriptedDriver::restoredByUser()
{
    m_injector->restored();
    processInput();
}

void ScriptedDriver::requestClose()
{
    m_injector->closeRequest();
    processInput();
}

void ScriptedDriver::processInput()
{
    if (Application::exists())
        Application::get().processWaitingMessages();
}

void ScriptedDriver::settle()
{
    if (!m_injector->settle())
        std::fprintf(stderr,
                     "ScriptedDriver: the pointer did not reach the window within five seconds\n");
    processInput();
    // Software drivers take a new window size at the next swap.
    Application::get().platformWindow().swapBuffers();
}

int ScriptedDriver::runFrames(int count)
{
    Application& application = app();
    processInput();
    const std::uint64_t start = application.frameCount();
    while (application.frameCount() - start < std::uint64_t(count) && application.runOnce()) {
    }
    return int(application.frameCount() - start);
}

bool ScriptedDriver::runUntil(const std::function<bool()>& done, int limit)
{
    processInput();
    for (int frame = 0; frame < limit; ++frame) {
        if (done())
            return true;
        if (runFrames(1) == 0)
            break;
    }
    return done();
}

std::vector<std::uint8_t> ScriptedDriver::capture(int& width, int& height) const
{
    const PlatformWindow& window = Application::get().platformWindow();
    const ScreenRect client = window.clientRect();
    width = client.right - client.left;
    height = client.bottom - client.top;
    std::vector<std::uint8_t> bottomUp(std::size_t(width) * std::size_t(height) * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    // Mesa's software drivers keep the back buffer's contents across the swap.
    glReadBuffer(GL_BACK);
    glReadPixels(client.left, window.drawableHeight() - client.bottom, width, height, GL_RGB,
                 GL_UNSIGNED_BYTE, bottomUp.data());
    return flipRows(bottomUp, width, height);
}

Screenshot ScriptedDriver::screenshot() const
{
    Screenshot shot;
    shot.rgb = capture(shot.width, shot.height);
    return shot;
}

int ScriptedDriver::countPixels(const PixelRect& area, const std::function<bool(Rgb)>& match) const
{
    return screenshot().count(area, match);
}

Rgb ScriptedDriver::pixel(int x, int y) const
{
    return screenshot().at(toClientX(x), toClientY(y));
}

bool ScriptedDriver::saveScreenshot(const std::string& path) const
{
    return screenshot().savePng(path);
}

std::string ScriptedDriver::systemWindowId() const
{
    const ToolRun found = runTool("xdotool search --all --pid " + std::to_string(::getpid()) +
                                  " --name '^Vellomar$'");
    if (found.status != 0) {
        std::fprintf(stderr, "ScriptedDriver: the window was not found: %s\n",
                     found.output.c_str());
        return {};
    }
    return found.output.substr(0, found.output.find('\n'));
}

bool ScriptedDriver::resizeFromOutside(int width, int height)
{
    const std::string id = systemWindowId();
    if (id.empty() || runTool("xdotool windowsize " + id + " " + std::to_string(width) + " " +
                              std::to_string(height))
                              .status != 0)
        return false;
    Application& application = Application::get();
    // The window system answers in its own time; a slow (sanitised) run may need a while.
    const Uint32 start = SDL_GetTicks();
    for (;;) {
        processInput();
        const ScreenRect outer = application.windowRect();
        if (outer.right - outer.left == width && outer.bottom - outer.top == height) {
            application.platformWindow().swapBuffers();
            return true;
        }
        if (SDL_GetTicks() - start > 10000)
            return false;
        SDL_Delay(5);
    }
}

Screenshot ScriptedDriver::wholeWindow() const
{
    const ScreenRect outer = Application::get().windowRect();
    Screenshot shot;
    shot.width = outer.right - outer.left;
    shot.height = outer.bottom - outer.top;
    // Magenta wherever the drawing buffer does not reach.
    std::vector<std::uint8_t> bottomUp(std::size_t(shot.width) * std::size_t(shot.height) * 3);
    for (std::size_t i = 0; i < bottomUp.size(); i += 3) {
        bottomUp[i] = 255;
        bottomUp[i + 2] = 255;
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, shot.width, shot.height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    shot.rgb = flipRows(bottomUp, shot.width, shot.height);
    return shot;
}
