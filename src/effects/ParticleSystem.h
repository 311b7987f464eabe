// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "board/Vec4.h"
#include "effects/FloatingText.h"
#include "effects/Particle.h"

// Owns every sparkle and floating text of the play screen; one per run.
class ParticleSystem {
public:
    // Makes the system on the first call; later calls return the same one.
    static ParticleSystem& create();
    // Ends the program when there is none.
    static ParticleSystem& get();
    static bool exists();
    static void destroy();

    // The particle sprite's grid, from which every new sparkle draws its picture.
    void setSpriteGrid(int groups, int frames);
    const ParticleGrid& spriteGrid() const { return m_grid; }

    void emit(float size, const Vec4& position, const Vec4& velocity);
    void showText(const std::string& text, const Vec4& position, float size, const Vec4& velocity,
                  const Vec4& colour);
    // Sparks flying out of a point in all directions (bursting flowers, cleared cells).
    void burst(const Vec4& position, int count);
    void update(float dt);
    void clear();

    const std::vector<std::unique_ptr<Particle>>& particles() const { return m_particles; }
    const std::vector<std::unique_ptr<FloatingText>>& texts() const { return m_texts; }

private:
    ParticleGrid m_grid;
    std::vector<std::unique_ptr<Particle>> m_particles;
    std::vector<std::unique_ptr<FloatingText>> m_texts;
};
