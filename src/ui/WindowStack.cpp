// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WindowStack.h"

#include "ui/Window.h"

#include <algorithm>

WindowStack::WindowStack(std::function<void()> changed) : m_changed(std::move(changed)) {}

Window* WindowStack::topWindow() const
{
    if (!m_dialogs.empty())
        return m_dialogs.back();
    return frontScreen();
}

Window* WindowStack::frontScreen() const
{
    return m_screens.empty() ? nullptr : m_screens.back();
}

void WindowStack::pushScreen(Window& screen)
{
    m_changed();
    screen.activate();
    m_screens.push_back(&screen);
}

void WindowStack::pushDialog(Window& dialog)
{
    m_changed();
    m_dialogs.push_back(&dialog);
    dialog.activate();
    if (Window* front = frontScreen())
        front->activate();
}

void WindowStack::removeScreen(Window& screen)
{
    m_changed();
    m_screens.erase(std::remove(m_screens.begin(), m_screens.end(), &screen), m_screens.end());
}

void WindowStack::close(bool now)
{
    if (now)
        closeTopWindow();
    else
        m_closeRequested = true;
}

void WindowStack::settleCloses()
{
    if (m_closeRequested) {
        m_closeRequested = false;
        closeTopWindow();
    }
    tellOwnerOfClosedWindow();
}

void WindowStack::closeTopWindow()
{
    // A window closed earlier whose owner has not heard of it yet is reported first.
    tellOwnerOfClosedWindow();
    m_changed();
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

void WindowStack::tellOwnerOfClosedWindow()
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

void WindowStack::updateTop(float dt)
{
    if (Window* top = topWindow())
        top->update(dt);
}

void WindowStack::updateOverlay(float dt)
{
    if (m_overlay != nullptr)
        m_overlay->update(dt);
}

void WindowStack::render()
{
    if (Window* front = frontScreen())
        front->render();
    for (Window* dialog : m_dialogs)
        dialog->render();
    if (m_overlay != nullptr)
        m_overlay->render();
}

bool WindowStack::rendersStateOnly() const
{
    const Window* front = frontScreen();
    return front != nullptr && front->rendersStateOnly() &&
           std::all_of(m_dialogs.begin(), m_dialogs.end(),
                       [](const Window* dialog) { return dialog->rendersStateOnly(); }) &&
           (m_overlay == nullptr || m_overlay->rendersStateOnly());
}
