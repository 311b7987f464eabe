// SPDX-License-Identifier: GPL-3.0-or-later
#include "effects/FloatingText.h"

#include <cstdlib>

FloatingText::FloatingText(std::string text, const Vec4& position, float size, const Vec4& velocity,
                           const Vec4& colour)
    : m_text(std::move(text)), m_position(position), m_size(size), m_velocity(velocity),
      m_colour(colour)
{
    m_position.y += size / 2.0f;
    m_fadeSpeed = static_cast<float>(std::rand() % 500) / 10000.0f + 0.02f;
    m_life = static_cast<float>(std::rand() % 400 + 200);
}

bool FloatingText::update(float dt)
{
    m_life -= dt;
    if (m_life < 0.0f)
        m_colour.w -= (dt / 30.0f) * m_fadeSpeed;
    m_position += m_velocity;
    m_size += length(m_velocity) / 2.0f;
    return m_colour.w < 0.0f;
}
