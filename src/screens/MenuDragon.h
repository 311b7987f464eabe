// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <vector>

class Sprite;

// One of the small creatures that fly over the menus, pause now and then and
// take off when the pointer comes near.
class MenuDragon {
public:
    static constexpr float kTakeOffDistance = 32.0f;

    // Takes an instance of the dragon sprite (owned from now on).
    explicit MenuDragon(std::unique_ptr<Sprite> sprite);
    ~MenuDragon();
    MenuDragon(MenuDragon&&) noexcept;
    MenuDragon& operator=(MenuDragon&&) noexcept;

    // pointerX, pointerY: the pointer in logical coordinates.
    void update(float dt, float pointerX, float pointerY);
    // Shadow, then the dragon; nothing while the dragons option is off.
    void render() const;
    bool isResting() const { return m_flyTime <= 0.0f; }

    float x() const { return m_x; }
    float y() const { return m_y; }
    float heading() const { return m_heading; }
    float speed() const { return m_speed; }
    float turn() const { return m_turn; }
    float flyTime() const { return m_flyTime; }
    float restTime() const { return m_restTime; }
    const Sprite& sprite() const { return *m_sprite; }
    void setPosition(float x, float y);
    void setSpeed(float speed) { m_speed = speed; }
    void setHeading(float heading) { m_heading = heading; }
    void setTurn(float turn) { m_turn = turn; }
    void setFlyTime(float ms) { m_flyTime = ms; }
    void setRestTime(float ms) { m_restTime = ms; }

private:
    void fly(float dt, float k);
    void rest(float dt, float k, float pointerX, float pointerY);
    void drawAt(float x, float y, float scale) const;

    std::unique_ptr<Sprite> m_sprite;
    float m_x = 0.0f;
    float m_y = 0.0f;
    float m_z = 0.0f;
    float m_w = 1.0f;
    float m_speed = 0.0f;
    float m_heading = 0.0f;
    float m_turn = 0.0f;
    float m_flyTime = 0.0f;
    float m_restTime = 0.0f;
};

// How a screen picks its dragons' animation groups.
enum class DragonColours { ByIndex, Random };

// The twelve dragons of one menu screen.
class DragonFlock {
public:
    static constexpr int kCount = 12;

    DragonFlock(const Sprite& dragonSprite, DragonColours colours);

    // Each dragon's update, an occasional new turn, and the way back in for
    // those that left the area.
    void step(float dt);
    void step(float dt, float pointerX, float pointerY);
    // The resting ones first, then the flying ones.
    void render() const;

    std::vector<MenuDragon>& dragons() { return m_dragons; }

private:
    std::vector<MenuDragon> m_dragons;
};
