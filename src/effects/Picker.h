// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "board/Vec4.h"

class Field;
class Sprite;

// The play screen's mouse hand: turns presses and releases over the board
// into selections and moves, carries a copy of the picked flower under the
// mouse and fires the shot at an active insect. Positions are logical. Its
// sounds and the shot's sparks go to the field's listener.
class Picker {
public:
    static constexpr int kShotParticles = 25;

    // skin: the first flower skin the carried copy is made from (not owned);
    // null draws nothing and keeps only the carrying state.
    Picker(Field& field, const Sprite* skin);
    virtual ~Picker();
    Picker(const Picker&) = delete;
    Picker& operator=(const Picker&) = delete;

    // Every frame with the mouse position: the carried copy follows the cell
    // under it, and is dropped silently once an insect becomes active or the
    // picked flower is no longer selected (it burst, the level ended).
    virtual void update(const Vec4& mouse);
    // Every rendered frame: the path preview, then the carried copy at half opacity.
    virtual void draw();
    // A release over another cell moves the picked flower there.
    virtual void onLeftButtonUp(float x, float y);
    // A pick, a move, a bonk on a cell that cannot be picked, or a shot.
    virtual void onLeftButtonDown(float x, float y);
    // Drops the carried copy and the selection.
    virtual void onRightButtonDown(float x, float y);

    bool isCarrying() const { return m_carrying; }
    // The carried copy; null when nothing is carried or there is no skin.
    const Sprite* carried() const { return m_carried.get(); }
    const Vec4& carriedPosition() const { return m_carriedPosition; }

private:
    void tryMoveTo(float x, float y);
    void pick(int colour);
    void drop();
    void fireShot(float x, float y);
    bool boardIdle() const;

    Field& m_field;
    const Sprite* m_skin;
    std::unique_ptr<Sprite> m_carried;
    bool m_carrying = false;
    Vec4 m_carriedPosition;
    Vec4 m_mouse;
};
