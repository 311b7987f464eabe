#include "effects/Particle.h"

#include <cstdlib>

namespace {
struct SpriteGrid {
    int groups = 1;
    int frames = 1;
};

// The particle sprite's grid; one cell when the play-screen resources are absent.
SpriteGrid particleSpriteGrid() { return {}; }
} // namespace

Particle::Particle(const Vec4& position, float size, const Vec4& colour, const Vec4& velocity)
    : m_position(position), m_size(size), m_colour(colour), m_velocity(velocity) {
    const SpriteGrid grid = particleSpriteGrid();
    m_group = std::rand() % grid.groups;
    m_frame = std::rand() % grid.frames;
    m_decay = static_cast<float>(std::rand() % 100) / 2000.0f + 0.05f;
}

bool Particle::update(float dt) {
    const float t = dt / 30.0f;
    m_position += m_velocity * (t * m_colour.w);
    m_colour.w -= t * m_decay;
    return m_colour.w < 0.0f;
}
