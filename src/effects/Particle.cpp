// SPDX-License-Identifier: GPL-3.0-or-later
#include "effects/Particle.h"

#include <algorithm>
#include <cstdlib>

Particle::Particle(const Vec4& position, float size, const Vec4& colour, const Vec4& velocity,
                   ParticleGrid grid)
    : m_position(position), m_size(size), m_colour(colour), m_velocity(velocity)
{
    m_group = std::rand() % std::max(grid.groups, 1);
    m_frame = std::rand() % std::max(grid.frames, 1);
    m_decay = static_cast<float>(std::rand() % 100) / 2000.0f + 0.05f;
}

bool Particle::update(float dt)
{
    const float t = dt / 30.0f;
    m_position += m_velocity * (t * m_colour.w);
    m_colour.w -= t * m_decay;
    return m_colour.w < 0.0f;
}
