// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/Insect.h"

#include <cmath>

void Insect::setTarget(const Vec4& target)
{
    m_target = target;
    m_state = InsectState::Turning;
}

void Insect::update(float dt)
{
    switch (m_state) {
    case InsectState::Waiting:
        if (m_waitTime > 0.0f) {
            m_waitTime -= dt;
        } else {
            m_state = InsectState::Landed;
            ++m_landings;
        }
        break;
    case InsectState::Turning:
        turn();
        break;
    case InsectState::Flying:
        fly(dt);
        break;
    case InsectState::Landed:
        break;
    }
    m_animationTime += dt;
}

bool Insect::hitTest(const Vec4& point)
{
    if (length(point - m_position) < kHitRadius) {
        m_hit = true;
        return true;
    }
    return false;
}

float Insect::headingTowards(const Vec4& from, const Vec4& to)
{
    const Vec4 d = normalise(to - from);
    double radians;
    if (d.x > 0.0f)
        radians = std::asin(d.y);
    else
        radians = d.y < 0.0f ? -std::acos(d.x) : std::acos(d.x);
    return static_cast<float>(radians * 57.2958 + 90.0);
}

float Insect::foldAngle(float a, float b)
{
    float e = a - b;
    if (e > 180.0f)
        e = a - 360.0f - b;
    else if (e < -180.0f)
        e = a - b + 360.0f;
    return e;
}

void Insect::turn()
{
    const float wanted = headingTowards(m_position, m_target);
    if (foldAngle(wanted, m_heading) < 0.0f)
        m_heading -= m_turnSpeed;
    else
        m_heading += m_turnSpeed;
    if (std::fabs(foldAngle(wanted, m_heading)) <= m_turnSpeed)
        m_state = InsectState::Flying;
}

void Insect::fly(float dt)
{
    const Vec4 d = normalise(m_target - m_position);
    m_direction = d;
    const Vec4 stepVec = d * ((dt / 6.0f) * m_speed);
    m_position += stepVec;
    if (length(stepVec) >= length(m_target - m_position)) {
        m_position = m_target;
        m_state = InsectState::Waiting;
        m_waitTime = kWaitMs;
    }
}
