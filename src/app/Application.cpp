// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"

#include "platform/VirtualKey.h"
#include "ui/Window.h"
#include "utils/FatalError.h"

namespace {

std::unique_ptr<Application>& instance()
{
    static std::unique_ptr<Application> application;
    return application;
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
    WindowHost::install(this);
}

Application::~Application()
{
    WindowHost::install(nullptr);
    m_display.destroyWindow();
}

bool Application::createWindow(const std::string& title, int x, int y, int width, int height)
{
    if (!m_display.createWindow(title, x, y, width, height))
        return false;
    m_window.letSystemDrag([this](int x, int y) {
        const Window* top = topWindow();
        return top != nullptr && top->isDragArea(x, y);
    });
    // Showing the window activates it, whether or not a focus event follows.
    setActive(true);
    return true;
}

void Application::setActive(bool active)
{
    m_active = active;
    m_input.setActive(active);
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
    m_pacer.restart();
    while (runOnce()) {
    }
    return m_quitCode;
}

bool Application::runOnce()
{
    if (m_quit)
        return false;
    m_pacer.startTiming();
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
    update(m_pacer.beginFrame());
    m_presenter.present(m_frameCount > 0, m_minimized);
    m_pacer.endFrame();
    ++m_frameCount;
}

void Application::update(float dt)
{
    m_windows.settleCloses();
    if (m_active)
        m_windows.updateTop(dt);
    else
        m_pacer.idle();
    m_windows.updateOverlay(dt);
    if (m_minimized)
        m_pacer.idle();
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
        onSizeChanged();
        break;
    case MessageType::Exposed:
        m_presenter.forget();
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
    m_presenter.forget();
    if (Window* front = frontScreen())
        front->activate();
}

// A window of another shape shows the picture between black bars.
void Application::onSizeChanged()
{
    if (m_display.isFullScreen())
        return;
    m_presenter.onWindowResized();
    m_window.fitClientToWindow();
    m_display.onClientResized(m_window.clientWidth(), m_window.clientHeight());
}

void Application::onCloseRequest(const WindowMessage& message)
{
    // The game's own request always ends the program; only the player's
    // Alt+F4 goes to the front screen, which then asks for the end itself.
    if (!message.fromProgram && isKeyDown(VirtualKey::F4)) {
        m_windows.clearDialogs();
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
        routeKeyDown(*top, message);
        break;
    case MessageType::Char:
        top->onChar(message.charCode, message.repeatCount);
        break;
    default:
        break;
    }
}

void Application::routeKeyDown(Window& top, const WindowMessage& message)
{
    if (message.fromController)
        Window::showFocus();
    if (message.repeat) {
        top.onKeyRepeat(message.virtualKey);
        return;
    }
    top.keyDown(message.virtualKey);
    if (message.virtualKey == VirtualKey::F4 && isKeyDown(VirtualKey::Alt)) {
        // What the system does with Alt+F4 when nothing else takes it.
        WindowMessage close;
        close.type = MessageType::CloseRequest;
        m_messages.push_back(close);
    }
}
