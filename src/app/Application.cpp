#include "app/Application.h"

#include "utils/Log.h"
#include "image/Image.h"
#include "objects/ArtSet.h"
#include "objects/ImagePrefetch.h"
#include "objects/Texture.h"
#include "platform/MessageBox.h"
#include "platform/VirtualKey.h"
#include "ui/Window.h"
#include "utils/FatalError.h"
#include "utils/FilePack.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <optional>
#include <string>

namespace {

std::unique_ptr<Application>& instance()
{
    static std::unique_ptr<Application> application;
    return application;
}

constexpr const char* requiredExtensions[] = {"GL_ARB_multitexture"};
constexpr std::uint32_t idleSleepMilliseconds = 100;

bool isIgnoredFullScreenWidth(int width)
{
    return width == 320 || width == 400 || width == 640;
}

const char* glText(GLenum name)
{
    const GLubyte* text = glGetString(name);
    return text != nullptr ? reinterpret_cast<const char*>(text) : "";
}

} // namespace

Application& Application::create(const std::string& className)
{
    if (!instance())
        instance().reset(new Application(className));
    return *instance();
}

Application& Application::get()
{
    if (!instance())
        FatalError::raise("Application::get() != NULL", "app/Application");
    return *instance();
}

bool Application::exists()
{
    return instance() != nullptr;
}

void Application::destroy()
{
    instance().reset();
}

Application::Application(std::string className) : m_className(std::move(className))
{
}

Application::~Application()
{
    destroyWindow();
}

bool Application::createWindow(const std::string& title, int x, int y, int width, int height)
{
    if (!startVideo())
        return false;
    m_title = title;
    m_windowX = x;
    m_windowY = y;
    m_window.setLogicalSize(m_camera.logicalWidth(), m_camera.logicalHeight());
    if (!m_window.create(title, x, y, width, height))
        return false;
    onClientResized(m_window.clientWidth(), m_window.clientHeight());
    // Until the first pointer event, wherever the system last saw the pointer.
    const ScreenPoint cursor = PlatformWindow::cursorScreenPosition();
    m_events.setPointer({cursor.x - x, cursor.y - y});
    m_window.show();
    // Showing the window activates it, whether or not a focus event follows.
    setActive(true);
    FatalError::setMessageBox(
        [](const std::string& caption, const std::string& text) {
            MessageBox::showError(caption, text);
        });
    return true;
}

bool Application::startVideo()
{
    if (m_videoStarted)
        return true;
    if (!PlatformWindow::startVideo())
        return false;
    m_videoStarted = true;
    m_desktop = PlatformWindow::desktopRect();
    return true;
}

void Application::destroyWindow()
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

// The software renderer takes and frees megabytes for each batch it draws;
// freed memory handed back to the system at once faulted in again page by
// page, a third of a menu frame's time. Up to this much now stays with us.
void Application::keepFreedMemory()
{
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, 32 << 20);
#endif
}

bool Application::initGraphics()
{
    if (!m_window.createContext())
        return false;
    logDriver();
    m_damage.forget();
    if (m_window.canPresentRegions())
        keepFreedMemory();
    m_window.setSwapInterval(1);
    m_input.create(m_window, m_events);
    updateViewportOrigin();
    ArtSet::choose(pixelsPerUnit());
    // Names of an old context are dropped; every texture is uploaded into
    // this one when next bound. Re-reading all of them at once, drawn or not,
    // would hold every picture of the game (at twice the size in a large full
    // screen) in memory.
    Texture::deleteAll();
    return true;
}

void Application::releaseGraphics()
{
    if (!m_window.hasContext())
        return;
    Texture::deleteAll();
    m_input.release();
    m_window.destroyContext();
}

void Application::logDriver() const
{
    const std::string dashes(51, '-');
    Log::write("%s", dashes.c_str());
    Log::write("Vendor: %s", glText(GL_VENDOR));
    Log::write("Version: %s", glText(GL_VERSION));
    Log::write("Renderer: %s", glText(GL_RENDERER));
    Log::write("%s", dashes.c_str());
}

bool Application::checkRequiredExtensions() const
{
    std::string missing;
    for (const char* name : requiredExtensions)
        if (!PlatformWindow::extensionSupported(name))
            missing += std::string(name) + "\n";
    if (missing.empty())
        return true;
    std::fprintf(stderr, "Unable to initialize the following extensions:\n%s", missing.c_str());
    return false;
}

bool Application::setFullScreen(int width, int height)
{
    if (isIgnoredFullScreenWidth(width) || !m_window.isOpen())
        return m_fullScreen;
    if (!m_fullScreen) {
        const ScreenRect outer = m_window.outerRect();
        m_windowedX = outer.left;
        m_windowedY = outer.top;
        m_windowedWidth = m_clientWidth;
        m_windowedHeight = m_clientHeight;
    }
    m_desktop = PlatformWindow::desktopRect();
    releaseGraphics();
    m_fullScreen = m_window.enterFullScreen(width, height);
    onClientResized(m_window.clientWidth(), m_window.clientHeight());
    initGraphics();
    return m_fullScreen;
}

void Application::leaveFullScreen()
{
    if (!m_window.isOpen())
        return;
    releaseGraphics();
    m_window.leaveFullScreen();
    m_fullScreen = false;
    int x = m_windowedX;
    int y = m_windowedY;
    if (x < 1 || y < 1) {
        x = ((m_desktop.right - m_desktop.left) - 800) >> 1;
        y = ((m_desktop.bottom - m_desktop.top) - 600) >> 1;
    }
    m_window.resize(m_windowedWidth, m_windowedHeight);
    m_window.move(x, y);
    m_windowX = x;
    m_windowY = y;
    onClientResized(m_window.clientWidth(), m_window.clientHeight());
    initGraphics();
}

void Application::minimize()
{
    if (m_fullScreen)
        leaveFullScreen();
    // Minimised once the window system says so: it may refuse, and a game
    // that thought itself minimised would stop drawing for good.
    m_window.minimize();
    ++m_minimizeRequests;
}

void Application::setActive(bool active)
{
    m_active = active;
    m_input.setActive(active);
}

void Application::onClientResized(int width, int height)
{
    m_clientWidth = width;
    m_clientHeight = height;
    m_damage.forget();
    updateViewportOrigin();
    // Each picture is read again from the set now drawn when next bound.
    if (ArtSet::choose(pixelsPerUnit()) && m_window.hasContext())
        Texture::unloadAll();
    // The menus set their viewport only when shown; a window resized under
    // them must draw into its new client area from the next frame on.
    if (m_window.hasContext())
        m_camera.applyViewport(float(width), float(height));
}

float Application::pixelsPerUnit() const
{
    if (m_camera.logicalWidth() <= 0 || m_camera.logicalHeight() <= 0)
        return 1.0f;
    return std::min(float(m_clientWidth) / float(m_camera.logicalWidth()),
                    float(m_clientHeight) / float(m_camera.logicalHeight()));
}

void Application::updateViewportOrigin()
{
    const ScreenRect client = m_window.clientRect();
    // OpenGL counts rows from the bottom of the drawable.
    m_camera.setViewportOrigin(client.left, m_window.drawableHeight() - client.bottom);
}

void Application::moveWindow(int x, int y)
{
    if (m_fullScreen)
        return;
    const ScreenRect before = m_window.outerRect();
    m_window.move(x, y);
    m_windowX = x;
    m_windowY = y;
    // The pointer stays where it is on the screen, so it moves within the window.
    const ScreenRect after = m_window.outerRect();
    const ScreenPoint pointer = m_events.pointer();
    m_events.setPointer(
        {pointer.x - (after.left - before.left), pointer.y - (after.top - before.top)});
}

ScreenPoint Application::cursorScreenPosition() const
{
    const ScreenRect outer = m_window.outerRect();
    const ScreenPoint pointer = m_events.pointer();
    return {outer.left + pointer.x, outer.top + pointer.y};
}

void Application::setWindowIcon(int width, int height, const std::uint8_t* rgbaTopDown)
{
    m_window.setIcon(width, height, rgbaTopDown);
}

bool Application::loadWindowIcon(const FilePack& pack, const std::string& fileName)
{
    const std::unique_ptr<Image> decoded = ImagePrefetch::takeOrDecode(pack, fileName);
    if (decoded == nullptr)
        return false;
    const Image& image = *decoded;
    if (!image.isValid() || image.isCompressed() ||
        (image.components() != 3 && image.components() != 4))
        return false;
    const int width = image.width();
    const int height = image.height();
    const int components = image.components();
    std::vector<std::uint8_t> rgba(std::size_t(width) * std::size_t(height) * 4);
    for (int row = 0; row < height; ++row) {
        // Image rows run bottom-up; the window system wants the top row first.
        const std::uint8_t* source =
            image.pixels() + std::size_t(height - 1 - row) * std::size_t(width) * components;
        std::uint8_t* target = rgba.data() + std::size_t(row) * std::size_t(width) * 4;
        for (int column = 0; column < width; ++column, source += components, target += 4) {
            std::copy_n(source, 3, target);
            target[3] = components == 4 ? source[3] : 255;
        }
    }
    setWindowIcon(width, height, rgba.data());
    return true;
}

ScreenPoint Application::keepOnScreen(int x, int y, int width, int height, int screenWidth,
                                      int screenHeight)
{
    if (screenWidth <= x + width / 2)
        x = x / 2;
    if (screenHeight <= y + height / 2)
        y = y / 2;
    // A window left of or above the screen, or wider than it, shows its top-left corner.
    if (x < 0 || width >= screenWidth)
        x = 0;
    if (y < 0 || height >= screenHeight)
        y = 0;
    return {x, y};
}

void Application::setFrameClock(FrameClock* clock)
{
    m_clock = clock != nullptr ? clock : &m_systemClock;
    m_timing = false;
}

Window* Application::topWindow() const
{
    if (!m_dialogs.empty())
        return m_dialogs.back();
    return frontScreen();
}

Window* Application::frontScreen() const
{
    return m_screens.empty() ? nullptr : m_screens.back();
}

void Application::pushScreen(Window& screen)
{
    m_damage.forget();
    screen.activate();
    m_screens.push_back(&screen);
}

void Application::pushDialog(Window& dialog)
{
    m_damage.forget();
    m_dialogs.push_back(&dialog);
    dialog.activate();
    if (Window* front = frontScreen())
        front->activate();
}

void Application::removeScreen(Window& screen)
{
    m_damage.forget();
    m_screens.erase(std::remove(m_screens.begin(), m_screens.end(), &screen), m_screens.end());
}

void Application::close(bool now)
{
    if (now)
        closeTopWindow();
    else
        m_closeRequested = true;
}

void Application::closeTopWindow()
{
    // A window closed earlier whose owner has not heard of it yet is reported first.
    tellOwnerOfClosedWindow();
    m_damage.forget();
    if (!m_dialogs.empty()) {
        m_closedWindow = m_dialogs.back();
        m_dialogs.pop_back();
        m_closedWasDialog = true;
        m_tellOwnerPending = true;
    } else if (m_screens.size() > 1) {
        m_closedWindow = m_screens.back();
        m_screens.pop_back();
        m_closedWasDialog = false;
        m_tellOwnerPending = true;
    }
}

void Application::tellOwnerOfClosedWindow()
{
    if (!m_tellOwnerPending)
        return;
    m_tellOwnerPending = false;
    Window* closed = m_closedWindow;
    m_closedWindow = nullptr;
    if (m_closedWasDialog) {
        if (Window* owner = topWindow())
            owner->onDialogClosed(*closed, closed->result());
        return;
    }
    if (Window* front = frontScreen()) {
        front->onScreenClosed(*closed);
        front->activate();
    }
}

void Application::postCloseMessage()
{
    WindowMessage message;
    message.type = MessageType::CloseRequest;
    message.fromProgram = true;
    m_messages.push_back(message);
}

int Application::run()
{
    m_timing = false;
    while (runOnce()) {
    }
    return m_quitCode;
}

bool Application::runOnce()
{
    if (m_quit)
        return false;
    if (!m_timing) {
        m_lastTime = m_clock->milliseconds();
        m_timing = true;
    }
    if (!m_messages.empty() || m_events.poll(m_messages)) {
        if (!m_messages.empty()) {
            const WindowMessage message = m_messages.front();
            m_messages.pop_front();
            handleMessage(message);
        }
        return !m_quit;
    }
    frame();
    return true;
}

void Application::processWaitingMessages()
{
    while (!m_quit && (!m_messages.empty() || m_events.poll(m_messages))) {
        while (!m_quit && !m_messages.empty()) {
            const WindowMessage message = m_messages.front();
            m_messages.pop_front();
            handleMessage(message);
        }
    }
}

void Application::frame()
{
    const std::uint32_t now = m_clock->milliseconds();
    const float dt = float(now - m_lastTime);
    update(dt);
    // The program's first frame is drawn whole: recording it to compare the
    // next one with costs about as much again the first time, and can wait
    // until the picture is on the screen.
    if (m_frameCount > 0 && drawsChangesOnly())
        drawChanges();
    else
        drawWhole();
    sleepRestOfBudget(now);
    m_lastTime = now;
    ++m_frameCount;
}

void Application::drawWhole()
{
    ++m_drawCounts.whole;
    render();
    if (m_window.hasContext()) {
        glFlush();
        m_window.swapBuffers();
        m_resizeSwapPending = false;
    }
}

bool Application::drawsChangesOnly() const
{
    if (m_minimized || !m_window.hasContext() || !m_window.canPresentRegions())
        return false;
    const Window* front = frontScreen();
    return front != nullptr && front->rendersStateOnly() &&
           std::all_of(m_dialogs.begin(), m_dialogs.end(),
                       [](const Window* dialog) { return dialog->rendersStateOnly(); }) &&
           (m_overlay == nullptr || m_overlay->rendersStateOnly());
}

// The frame's drawing runs first in feedback mode to find what changed, then
// again clipped to each changed region; an unchanged frame draws nothing.
void Application::drawChanges()
{
    if (m_window.swapCount() != m_swapsSeen) {
        m_swapsSeen = m_window.swapCount();
        m_damage.forget();
    }
    const int width = m_window.drawableWidth();
    const int height = m_window.drawableHeight();
    m_damage.begin(width, height);
    renderWindows();
    const FrameDamage::Regions regions = m_damage.finish();
    if (!regions.whole) {
        ++(regions.rects.empty() ? m_drawCounts.unchanged : m_drawCounts.regions);
        drawRegions(regions.rects);
        return;
    }
    ++m_drawCounts.whole;
    render();
    if (m_resizeSwapPending) {
        m_resizeSwapPending = false;
        m_window.swapBuffers();
        return;
    }
    m_window.presentRegion({0, 0, width, height});
}

void Application::drawRegions(const std::vector<BufferRect>& rects)
{
    if (rects.empty())
        return;
    glEnable(GL_SCISSOR_TEST);
    for (const BufferRect& rect : rects) {
        glScissor(rect.x, rect.y, rect.width, rect.height);
        renderWindows();
    }
    glDisable(GL_SCISSOR_TEST);
    for (const BufferRect& rect : rects)
        m_window.presentRegion(rect);
}

void Application::sleepRestOfBudget(std::uint32_t frameStart)
{
    if (m_targetFrameRate == 0)
        return;
    const std::uint32_t budget = 1000 / m_targetFrameRate;
    const std::uint32_t elapsed = m_clock->milliseconds() - frameStart;
    if (elapsed < budget)
        m_clock->sleep(budget - elapsed);
}

void Application::update(float dt)
{
    if (m_closeRequested) {
        m_closeRequested = false;
        closeTopWindow();
    }
    tellOwnerOfClosedWindow();
    if (m_active) {
        if (Window* top = topWindow())
            top->update(dt);
    } else {
        m_clock->sleep(idleSleepMilliseconds);
    }
    if (m_overlay != nullptr)
        m_overlay->update(dt);
    if (m_minimized)
        m_clock->sleep(idleSleepMilliseconds);
}

void Application::render()
{
    if (m_minimized)
        return;
    renderWindows();
    blackOutBars();
}

void Application::renderWindows()
{
    if (Window* front = frontScreen())
        front->render();
    for (Window* dialog : m_dialogs)
        dialog->render();
    if (m_overlay != nullptr)
        m_overlay->render();
}

void Application::blackOutBars() const
{
    const ScreenRect client = m_window.clientRect();
    if (!m_window.hasContext() || (client.left == 0 && client.top == 0))
        return;
    GLfloat clearColour[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    glEnable(GL_SCISSOR_TEST);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    const ScreenRect outer = m_window.outerRect();
    const int width = outer.right - outer.left;
    const int height = m_window.drawableHeight();
    const int glBottom = height - client.bottom;
    // Left, right, top and bottom bars in OpenGL's bottom-up rows.
    const int bars[4][4] = {{0, 0, client.left, height},
                            {client.right, 0, width - client.right, height},
                            {0, height - client.top, width, client.top},
                            {0, 0, width, glBottom}};
    for (const auto& bar : bars) {
        if (bar[2] <= 0 || bar[3] <= 0)
            continue;
        glScissor(bar[0], bar[1], bar[2], bar[3]);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
    if (!scissor)
        glDisable(GL_SCISSOR_TEST);
}

void Application::handleMessage(const WindowMessage& message)
{
    switch (message.type) {
    case MessageType::FocusGained:
        setActive(true);
        break;
    case MessageType::FocusLost:
        setActive(false);
        break;
    case MessageType::Minimized:
        m_minimized = true;
        break;
    case MessageType::Restored:
        onRestored();
        break;
    case MessageType::SizeChanged:
        // A window of another shape shows the picture between black bars.
        if (!m_fullScreen) {
            m_resizeSwapPending = true;
            m_window.fitClientToWindow();
            onClientResized(m_window.clientWidth(), m_window.clientHeight());
        }
        break;
    case MessageType::Exposed:
        m_damage.forget();
        break;
    case MessageType::CloseRequest:
        onCloseRequest(message);
        break;
    case MessageType::KeyUp:
        break;
    default:
        routeInput(message);
        break;
    }
}

void Application::onRestored()
{
    if (!m_minimized)
        return;
    m_minimized = false;
    m_damage.forget();
    if (Window* front = frontScreen())
        front->activate();
}

void Application::onCloseRequest(const WindowMessage& message)
{
    // The game's own request always ends the program; only the player's
    // Alt+F4 goes to the front screen, which then asks for the end itself.
    if (!message.fromProgram && isKeyDown(VirtualKey::F4)) {
        m_dialogs.clear();
        if (Window* front = frontScreen())
            front->onCloseRequest();
        return;
    }
    m_window.hide();
    m_quit = true;
    m_quitCode = 0;
}

void Application::routeInput(const WindowMessage& message)
{
    Window* top = topWindow();
    if (top == nullptr)
        return;
    switch (message.type) {
    case MessageType::MouseMove:
        top->onMouseMove(message.x, message.y, message.keys);
        break;
    case MessageType::LeftButtonDown:
        top->onLeftButtonDown(message.x, message.y, message.keys);
        break;
    case MessageType::LeftButtonUp:
        top->onLeftButtonUp(message.x, message.y, message.keys);
        break;
    case MessageType::RightButtonDown:
        top->onRightButtonDown(message.x, message.y, message.keys);
        break;
    case MessageType::RightButtonUp:
        top->onRightButtonUp(message.x, message.y, message.keys);
        break;
    case MessageType::KeyDown:
        if (message.fromController)
            Window::showFocus();
        if (message.repeat) {
            top->onKeyRepeat(message.virtualKey);
            break;
        }
        top->keyDown(message.virtualKey);
        if (message.virtualKey == VirtualKey::F4 && isKeyDown(VirtualKey::Alt)) {
            // What the system does with Alt+F4 when nothing else takes it.
            WindowMessage close;
            close.type = MessageType::CloseRequest;
            m_messages.push_back(close);
        }
        break;
    case MessageType::Char:
        top->onChar(message.charCode, message.repeatCount);
        break;
    default:
        break;
    }
}
