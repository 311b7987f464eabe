// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/Flower.h"

#include <cstdlib>

#include "board/FieldListener.h"

Flower::Flower(int colour, int skin, const Vec4& position, float size)
    : m_colour(colour), m_skin(skin), m_size(size),
      m_animationFps(static_cast<float>(std::rand() % 30 + 15)), m_position(position)
{
}

void Flower::update(float dt, FieldListener& events)
{
    if (m_size > 50.0f)
        m_size = 50.0f;
    switch (m_state) {
    case FlowerState::Appearing:
        updateAppearing(dt, events);
        break;
    case FlowerState::Idle:
        updateIdle();
        break;
    case FlowerState::Exploding:
        updateExploding(dt, events);
        break;
    case FlowerState::Moving:
        updateMoving(dt);
        break;
    case FlowerState::Dead:
        break;
    }
}

void Flower::startAppearing(float delay)
{
    m_state = FlowerState::Appearing;
    m_scale = 0.5f;
    m_startDelay = delay;
    m_appearSoundDone = false;
}

void Flower::explode(FieldListener& events)
{
    explodeAfterDelay();
    emitExplosion(events);
}

void Flower::explodeAfterDelay()
{
    m_state = FlowerState::Exploding;
    m_selected = false;
    m_opacity = 1.0f;
    m_opacityStep = -0.03f;
    m_particlesDone = false;
}

void Flower::setWaypoints(std::deque<Vec4> waypoints)
{
    m_waypoints = std::move(waypoints);
    m_state = FlowerState::Moving;
}

void Flower::makeIdle()
{
    m_state = FlowerState::Idle;
    m_scale = 1.0f;
    m_startDelay = 0.0f;
    m_appearSoundDone = true;
}

void Flower::updateAppearing(float dt, FieldListener& events)
{
    if (m_startDelay > 0.0f) {
        m_startDelay -= dt;
        if (m_startDelay > 0.0f)
            return;
    }
    m_startDelay = 0.0f;
    if (!m_appearSoundDone) {
        events.playSound(BoardSound::WaterDrop, SoundRestart::Always);
        m_appearSoundDone = true;
    }
    m_scale += 0.06f;
    if (m_scale >= 1.5f) {
        m_scale = 1.5f;
        m_state = FlowerState::Idle;
    }
}

void Flower::updateIdle()
{
    if (m_scale > 1.0f) {
        m_scale -= 0.03f;
        if (m_scale < 1.0f)
            m_scale = 1.0f;
    }
}

void Flower::updateExploding(float dt, FieldListener& events)
{
    m_startDelay -= dt;
    if (m_startDelay >= 0.0f)
        return;
    if (!m_particlesDone)
        emitExplosion(events);
    m_opacity += m_opacityStep * (dt / 6.0f);
    if (m_opacity < 0.0f)
        m_state = FlowerState::Dead;
}

void Flower::updateMoving(float dt)
{
    if (m_waypoints.empty()) {
        m_state = FlowerState::Idle;
        return;
    }
    const Vec4 toFront = m_waypoints.front() - m_position;
    const Vec4 stepVec = normalise(toFront) * (1.65f * (dt / 6.0f));
    if (length(stepVec) < length(toFront)) {
        m_position += stepVec;
    } else {
        m_position = m_waypoints.front();
        m_waypoints.pop_front();
    }
}

void Flower::arriveNow()
{
    if (!m_waypoints.empty())
        m_position = m_waypoints.back();
    m_waypoints.clear();
    m_state = FlowerState::Idle;
}

void Flower::emitExplosion(FieldListener& events)
{
    m_particlesDone = true;
    events.burst(m_position, kExplosionParticles);
}
