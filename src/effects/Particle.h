// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/Vec4.h"

// The cells of the particle sprite: a sparkle shows one group and frame of it.
struct ParticleGrid {
    int groups = 1;
    int frames = 1;
};

// One sparkle: its alpha is its life, and it slows down as it fades.
class Particle {
public:
    Particle(const Vec4& position, float size, const Vec4& colour, const Vec4& velocity,
             ParticleGrid grid = {});

    // Returns true once the particle has faded out.
    bool update(float dt);

    const Vec4& position() const { return m_position; }
    const Vec4& colour() const { return m_colour; }
    const Vec4& velocity() const { return m_velocity; }
    float size() const { return m_size; }
    float decay() const { return m_decay; }
    int group() const { return m_group; }
    int frame() const { return m_frame; }

private:
    Vec4 m_position;
    float m_size;
    Vec4 m_colour;
    Vec4 m_velocity;
    float m_decay;
    int m_group;
    int m_frame;
};
