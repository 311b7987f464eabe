// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/Vec4.h"

enum class InsectState { Turning = 0, Flying = 1, Landed = 2, Waiting = 3 };

// The insect that flies in, turns towards its target, waits there and is
// sent away by the board. The board owns it and decides what it does.
class Insect {
public:
    static constexpr float kHitRadius = 52.0f;
    static constexpr float kWaitMs = 1500.0f;

    void setTarget(const Vec4& target);
    void update(float dt);
    // True when the point is closer than the hit radius; then the insect is hit.
    bool hitTest(const Vec4& point);

    InsectState state() const { return m_state; }
    bool hit() const { return m_hit; }
    int landings() const { return m_landings; }
    void setLandings(int n) { m_landings = n; }
    const Vec4& position() const { return m_position; }
    void setPosition(const Vec4& p) { m_position = p; }
    const Vec4& direction() const { return m_direction; }
    const Vec4& target() const { return m_target; }
    float heading() const { return m_heading; }
    void setHeading(float degrees) { m_heading = degrees; }
    float waitTime() const { return m_waitTime; }
    float animationTime() const { return m_animationTime; }

    // The heading that faces the point: 0 up the screen, 90 to the right.
    static float headingTowards(const Vec4& from, const Vec4& to);
    // a - b brought into -180..180.
    static float foldAngle(float a, float b);

private:
    void turn();
    void fly(float dt);

    InsectState m_state = InsectState::Landed;
    bool m_hit = false;
    Vec4 m_position{0.0f, 0.0f, 0.0f, 1.0f};
    Vec4 m_direction{0.0f, 0.0f, 0.0f, 1.0f};
    float m_speed = 3.0f;
    float m_heading = 0.0f;
    float m_turnSpeed = 6.0f;
    float m_waitTime = 0.0f;
    int m_landings = 0;
    Vec4 m_target{0.0f, 0.0f, 0.0f, 1.0f};
    float m_animationTime = 0.0f;
};
