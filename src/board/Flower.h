// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>

#include "board/Vec4.h"

class FieldListener;

enum class FlowerState { Idle = 0, Appearing = 2, Exploding = 3, Moving = 4, Dead = 5 };

inline constexpr int kNoColour = -1;
inline constexpr int kWildcard = 13;    // arrives with new flowers
inline constexpr int kBombFlower = 14;  // left by a line of four
inline constexpr int kBlastFlower = 15; // left by a line of five or more

inline constexpr bool isWildcard(int colour)
{
    return colour >= kWildcard && colour <= kBlastFlower;
}

// One flower on the board or in the announced list. Its colour is also the
// animation group of its sprite.
class Flower {
public:
    static constexpr int kExplosionParticles = 25;

    Flower(int colour, int skin, const Vec4& position, float size = 32.0f);

    // Advances appearing, exploding and travelling; events hears the
    // appearing sound and the sparks of a delayed burst.
    void update(float dt, FieldListener& events);
    void startAppearing(float delay);
    // Bursts with its sparks at once.
    void explode(FieldListener& events);
    // Bursts with its sparks once the start delay has run out (the exit sweep).
    void explodeAfterDelay();
    void setWaypoints(std::deque<Vec4> waypoints);
    // A travelling flower stands at the end of its path at once.
    void arriveNow();

    int colour() const { return m_colour; }
    FlowerState state() const { return m_state; }
    bool isIdle() const { return m_state == FlowerState::Idle; }
    bool isMoving() const { return m_state == FlowerState::Moving; }
    bool isDead() const { return m_state == FlowerState::Dead; }
    int respawnKind() const { return m_respawnKind; }
    void setRespawnKind(int kind) { m_respawnKind = kind; }

    bool selected() const { return m_selected; }
    void setSelected(bool on) { m_selected = on; }
    bool marked() const { return m_marked; }
    void setMarked(bool on) { m_marked = on; }
    bool movedLast() const { return m_movedLast; }
    void setMovedLast(bool on) { m_movedLast = on; }

    const Vec4& position() const { return m_position; }
    void setPosition(const Vec4& p) { m_position = p; }
    float opacity() const { return m_opacity; }
    float scale() const { return m_scale; }
    float size() const { return m_size; }
    float startDelay() const { return m_startDelay; }
    void setStartDelay(float ms) { m_startDelay = ms; }
    int skin() const { return m_skin; }
    float animationFps() const { return m_animationFps; }
    const std::deque<Vec4>& waypoints() const { return m_waypoints; }

    // Test and tool helper: skips the growing animation.
    void makeIdle();

private:
    void updateAppearing(float dt, FieldListener& events);
    void updateIdle();
    void updateExploding(float dt, FieldListener& events);
    void updateMoving(float dt);
    void emitExplosion(FieldListener& events);

    int m_colour;
    int m_skin;
    FlowerState m_state = FlowerState::Idle;
    int m_respawnKind = 0;
    bool m_selected = false;
    bool m_marked = false;
    bool m_movedLast = false;
    bool m_particlesDone = false;
    bool m_appearSoundDone = false;
    float m_opacity = 1.0f;
    float m_opacityStep = 0.0f;
    float m_scale = 1.0f;
    float m_size;
    float m_startDelay = 0.0f;
    float m_animationFps;
    Vec4 m_position;
    std::deque<Vec4> m_waypoints;
};
