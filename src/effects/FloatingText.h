// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "board/Vec4.h"

// Points won and short notices that rise, grow and fade over the board.
class FloatingText {
public:
    FloatingText(std::string text, const Vec4& position, float size, const Vec4& velocity,
                 const Vec4& colour);

    // Returns true once the text has faded out.
    bool update(float dt);

    const std::string& text() const { return m_text; }
    const Vec4& position() const { return m_position; }
    const Vec4& velocity() const { return m_velocity; }
    const Vec4& colour() const { return m_colour; }
    float size() const { return m_size; }
    float life() const { return m_life; }
    float fadeSpeed() const { return m_fadeSpeed; }

private:
    std::string m_text;
    Vec4 m_position;
    float m_size;
    Vec4 m_velocity;
    Vec4 m_colour;
    float m_fadeSpeed;
    float m_life;
};
