// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Dialog.h"

#include "objects/VertexBatch.h"
#include "platform/VirtualKey.h"
#include "ui/WindowHost.h"

#include <GL/gl.h>

Dialog::Dialog()
{
    enableKeyboardFocus();
}

int Dialog::localX(int x) const
{
    return toLogicalX(x) - int(m_position[0]);
}

int Dialog::localY(int y) const
{
    return toLogicalY(y) - int(m_position[1]);
}

void Dialog::onMouseMove(int x, int y, std::uint32_t keys)
{
    Window::onMouseMove(localX(x), localY(y), keys);
}

void Dialog::onLeftButtonUp(int x, int y, std::uint32_t keys)
{
    Window::onLeftButtonUp(localX(x), localY(y), keys);
}

void Dialog::onRightButtonUp(int x, int y, std::uint32_t keys)
{
    Window::onRightButtonUp(localX(x), localY(y), keys);
}

void Dialog::onLeftButtonDown(int x, int y, std::uint32_t keys)
{
    Window::onLeftButtonDown(localX(x), localY(y), keys);
}

void Dialog::onKeyDown(int virtualKey)
{
    if (virtualKey == VirtualKey::Escape) {
        setResult(1);
        WindowHost::current().close(false);
    } else if (virtualKey == VirtualKey::Enter) {
        setResult(0);
        WindowHost::current().close(false);
    }
    Window::onKeyDown(virtualKey);
}

void Dialog::render()
{
    glPushMatrix();
    glTranslatef(m_position[0], m_position[1], m_position[2]);
    Window::render();
    glPopMatrix();
}

void Dialog::setScreenSize(int width, int height)
{
    m_screenWidth = width;
    m_screenHeight = height;
}

void Dialog::setPosition(float x, float y, float z, float w)
{
    m_position[0] = x;
    m_position[1] = y;
    m_position[2] = z;
    m_position[3] = w;
}

void Dialog::setBackgroundSize(int width, int height)
{
    m_backgroundWidth = width;
    m_backgroundHeight = height;
}

void Dialog::drawDim(float r, float g, float b, float a) const
{
    const auto width = float(m_screenWidth);
    const auto height = float(m_screenHeight);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(r, g, b, a);
    VertexBatch strip(GL_TRIANGLE_STRIP);
    strip.vertex(0.0f, 0.0f, 0.5f);
    strip.vertex(0.0f, height, 0.5f);
    strip.vertex(width, 0.0f, 0.5f);
    strip.vertex(width, height, 0.5f);
    strip.draw();
    glDisable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}
