#include "driver/ScriptedDriver.h"

#include "app/Application.h"
#include "app/Log.h"
#include "ui/Window.h"
#include "utils/FatalError.h"

#include <GL/gl.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

int logicalToClient(int value, int clientSize, int logicalSize)
{
    // Rounded up, so that the window's truncating conversion gives the value back.
    return int(std::ceil(double(value) * clientSize / logicalSize));
}

bool writePng(const std::string& path, const std::vector<std::uint8_t>& rgb, int width,
              int height)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    bool written = false;
    if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int row = 0; row < height; ++row)
            png_write_row(png, rgb.data() + std::size_t(row) * std::size_t(width) * 3);
        png_write_end(png, nullptr);
        written = true;
    }
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return written;
}

} // namespace

ScriptedDriver::ScriptedDriver(const DriverOptions& options)
{
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
        std::fprintf(stderr, "ScriptedDriver: the pointer did not reach the window within a second\n");
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
    std::vector<std::uint8_t> topDown(bottomUp.size());
    const std::size_t rowBytes = std::size_t(width) * 3;
    for (int row = 0; row < height; ++row)
        std::copy_n(bottomUp.data() + std::size_t(height - 1 - row) * rowBytes, rowBytes,
                    topDown.data() + std::size_t(row) * rowBytes);
    return topDown;
}

Rgb ScriptedDriver::pixel(int x, int y) const
{
    int width = 0, height = 0;
    const std::vector<std::uint8_t> rgb = capture(width, height);
    const int cx = toClientX(x);
    const int cy = toClientY(y);
    if (cx < 0 || cy < 0 || cx >= width || cy >= height)
        return {};
    const std::size_t at = (std::size_t(cy) * std::size_t(width) + std::size_t(cx)) * 3;
    return {rgb[at], rgb[at + 1], rgb[at + 2]};
}

Rgb ScriptedDriver::windowPixel(int x, int y) const
{
    const PlatformWindow& window = Application::get().platformWindow();
    std::uint8_t rgb[3] = {0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, window.drawableHeight() - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}

bool ScriptedDriver::saveScreenshot(const std::string& path) const
{
    int width = 0, height = 0;
    const std::vector<std::uint8_t> rgb = capture(width, height);
    return writePng(path, rgb, width, height);
}
