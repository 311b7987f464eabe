// SPDX-License-Identifier: GPL-3.0-or-later
#include "effects/HintOverlay.h"

#include "effects/GameResources.h"

#include <GL/gl.h>

namespace {
constexpr float kFirstAnimationX = 275.0f;
constexpr float kAnimationY = 300.0f;
constexpr float kAnimationSpacing = 250.0f;
} // namespace

HintOverlay::HintOverlay(int index) : m_index(index) {}

bool HintOverlay::update(float dt)
{
    if (m_index == 0 && GameResources::exists()) {
        GameResources& resources = GameResources::get();
        resources.m_gameplay1->update(dt);
        resources.m_gameplay2->update(dt);
    }
    const float t = dt / 30.0f;
    if (m_alpha < 1.0f && m_fadeSpeed > 0.0f)
        m_alpha += t * m_fadeSpeed;
    else if (m_alpha >= 0.0f && m_fadeSpeed < 0.0f)
        m_alpha += t * m_fadeSpeed; // from exactly 0 too, or the hint would stay for good
    else if (m_holdTime > 0.0f)
        m_holdTime -= dt;
    return m_alpha < 0.0f;
}

void HintOverlay::dismiss()
{
    if (m_holdTime <= 0.0f && m_fadeSpeed > 0.0f)
        m_fadeSpeed = -m_fadeSpeed;
}

const HintPlace* HintOverlay::place() const
{
    if (!GameResources::exists() || m_index < 0)
        return nullptr;
    const auto& places = GameResources::get().m_hintPlaces;
    if (static_cast<std::size_t>(m_index) >= places.size())
        return nullptr;
    return places[static_cast<std::size_t>(m_index)].get();
}

void HintOverlay::render() const
{
    const HintPlace* hint = place();
    if (!hint || !hint->picture)
        return;
    GameResources& resources = GameResources::get();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, m_alpha);
    hint->picture->draw(hint->x, hint->y, 0.0f);
    if (m_index == 0) {
        glPushMatrix();
        glTranslatef(kFirstAnimationX, kAnimationY, 0.0f);
        resources.m_gameplay1->draw();
        glTranslatef(kAnimationSpacing, 0.0f, 0.0f);
        resources.m_gameplay2->draw();
        glPopMatrix();
    }
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}
