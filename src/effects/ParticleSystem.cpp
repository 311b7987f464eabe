// SPDX-License-Identifier: GPL-3.0-or-later
#include "effects/ParticleSystem.h"

#include "utils/FatalError.h"

#include <algorithm>
#include <cstdlib>

namespace {
std::unique_ptr<ParticleSystem>& theSystem()
{
    static std::unique_ptr<ParticleSystem> system;
    return system;
}

// Updates in list order and drops those that report death.
template <typename T> void updateAll(std::vector<std::unique_ptr<T>>& list, float dt)
{
    auto dead = [dt](const std::unique_ptr<T>& item) { return item->update(dt); };
    list.erase(std::remove_if(list.begin(), list.end(), dead), list.end());
}
} // namespace

ParticleSystem& ParticleSystem::create()
{
    if (!theSystem())
        theSystem() = std::make_unique<ParticleSystem>();
    return *theSystem();
}

ParticleSystem& ParticleSystem::get()
{
    if (!theSystem())
        FatalError::raise("ParticleSystem::get() != NULL", "effects/ParticleSystem");
    return *theSystem();
}

bool ParticleSystem::exists()
{
    return theSystem() != nullptr;
}

void ParticleSystem::destroy()
{
    theSystem().reset();
}

void ParticleSystem::setSpriteGrid(int groups, int frames)
{
    m_grid = {std::max(groups, 1), std::max(frames, 1)};
}

void ParticleSystem::emit(float size, const Vec4& position, const Vec4& velocity)
{
    m_particles.push_back(
        std::make_unique<Particle>(position, size, Vec4{1.0f, 1.0f, 1.0f, 1.0f}, velocity, m_grid));
}

void ParticleSystem::showText(const std::string& text, const Vec4& position, float size,
                              const Vec4& velocity, const Vec4& colour)
{
    m_texts.push_back(std::make_unique<FloatingText>(text, position, size, velocity, colour));
}

void ParticleSystem::update(float dt)
{
    updateAll(m_particles, dt);
    updateAll(m_texts, dt);
}

void ParticleSystem::clear()
{
    m_particles.clear();
    m_texts.clear();
}

void ParticleSystem::burst(const Vec4& position, int count)
{
    for (int i = 0; i < count; ++i) {
        const float dx = static_cast<float>(std::rand() % 100 - 50);
        const float dy = static_cast<float>(std::rand() % 100 - 50);
        const float speed = static_cast<float>(std::rand() % 100) / 40.0f + 0.5f;
        const float size = static_cast<float>(std::rand() % 100) / 10.0f + 12.0f;
        emit(size, position, normalise(Vec4{dx, dy, 0.0f, 1.0f}) * speed);
    }
}
