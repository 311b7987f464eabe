// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Button.h"

#include "objects/Texture.h"
#include "ui/Window.h"

#include <GL/gl.h>

namespace {

constexpr int kGreyFrame = 3;

} // namespace

Button::Button(Window& owner, Texture* texture) : Control(owner, texture)
{
    if (texture != nullptr) {
        m_width = float(texture->width());
        m_height = float(texture->height()) / 4.0f;
    }
}

bool Button::onMouseMove(int x, int y, std::uint32_t)
{
    if (!m_enabled)
        return false;
    const bool inside = contains(x, y);
    m_state = inside ? ButtonState::Hover : ButtonState::Normal;
    return inside;
}

bool Button::onLeftButtonDown(int x, int y, std::uint32_t)
{
    if (!m_enabled || !contains(x, y))
        return false;
    playClick();
    m_state = ButtonState::Pressed;
    m_owner.onControl(*this);
    return true;
}

bool Button::onLeftButtonUp(int, int, std::uint32_t)
{
    if (!m_enabled || m_state != ButtonState::Pressed)
        return false;
    m_state = ButtonState::Hover;
    return true;
}

void Button::press()
{
    if (!m_enabled)
        return;
    playClick();
    m_owner.onControl(*this);
}

FocusArea Button::focusArea() const
{
    return {m_x, m_y, m_width, m_height, m_height / 2.0f};
}

void Button::render()
{
    if (!m_enabled && !m_greyWhenDisabled)
        return;
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    const ButtonState look =
        m_state == ButtonState::Normal && showsFocus() ? ButtonState::Hover : m_state;
    drawFrame(m_enabled ? int(look) - 1 : kGreyFrame, 4);
    glDisable(GL_BLEND);
}
