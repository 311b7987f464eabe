// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TrackBar.h"

#include "objects/Texture.h"
#include "platform/VirtualKey.h"
#include "ui/Window.h"

#include <GL/gl.h>

#include <algorithm>

TrackBar::TrackBar(Window& owner, Texture* knobTexture) : Control(owner, knobTexture)
{
    if (knobTexture != nullptr) {
        m_width = float(knobTexture->width());
        m_height = float(knobTexture->height());
    }
}

void TrackBar::setRange(float minimum, float maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
}

float TrackBar::knobX() const
{
    const float span = m_maximum - m_minimum;
    if (span == 0.0f)
        return m_x;
    return m_x + (m_value - m_minimum) * m_length / span;
}

bool TrackBar::keepsKey(int virtualKey) const
{
    return virtualKey == VirtualKey::Left || virtualKey == VirtualKey::Right;
}

void TrackBar::onKeyDown(int virtualKey)
{
    if (!isFocused() || !keepsKey(virtualKey))
        return;
    const float step = m_keyStep > 0.0f ? m_keyStep : (m_maximum - m_minimum) / 10.0f;
    m_value += virtualKey == VirtualKey::Right ? step : -step;
    m_value = std::clamp(m_value, std::min(m_minimum, m_maximum), std::max(m_minimum, m_maximum));
    m_owner.onControl(*this);
}

FocusArea TrackBar::focusArea() const
{
    return {m_x, m_y, m_length + m_width, m_height, m_height / 2.0f};
}

bool TrackBar::isUnder(int x, int y) const
{
    return int(m_x) <= x && x <= int(m_x + m_length + m_width) && int(m_y) <= y &&
           y <= int(m_y + m_height);
}

bool TrackBar::onLeftButtonDown(int x, int y, std::uint32_t)
{
    m_grabbed = false;
    if (!isUnder(x, y))
        return false;
    const float left = knobX();
    m_grabbed = true;
    // A press on the track beside the knob brings the knob's middle there.
    if (x < int(left) || x > int(left + m_width))
        moveKnobTo(x);
    return true;
}

bool TrackBar::onMouseMove(int x, int, std::uint32_t)
{
    if (!m_grabbed)
        return false;
    moveKnobTo(x);
    return true;
}

void TrackBar::moveKnobTo(int x)
{
    if (m_length > 0.0f) {
        const float offset = float(x) - m_x - m_width / 2.0f;
        m_value = m_minimum + (m_maximum - m_minimum) * offset / m_length;
    }
    m_value = std::clamp(m_value, std::min(m_minimum, m_maximum), std::max(m_minimum, m_maximum));
}

bool TrackBar::onLeftButtonUp(int, int, std::uint32_t)
{
    if (m_grabbed)
        m_owner.onControl(*this);
    m_grabbed = false;
    return false;
}

void TrackBar::render()
{
    if (m_texture == nullptr)
        return;
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    m_texture->draw(knobX(), m_y, m_z);
    glDisable(GL_BLEND);
}
