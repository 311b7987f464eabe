// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/Vec4.h"

enum class CellType { Raw = 0, HalfCleared = 1, Cleared = 3, Locked = 4 };

// What a flower bursting on a cell leaves of it: locked -> raw -> half-cleared -> cleared.
constexpr CellType wornDown(CellType type)
{
    switch (type) {
    case CellType::Locked:
        return CellType::Raw;
    case CellType::Raw:
        return CellType::HalfCleared;
    default:
        return CellType::Cleared;
    }
}

// The background of one cell: how far it has been cleared, and its fade.
class CellBack {
public:
    CellBack(CellType type, const Vec4& position) : m_type(type), m_position(position) {}

    // Waits out the start delay, then fades by one step per update.
    void update(float dt);

    CellType type() const { return m_type; }
    void setType(CellType type) { m_type = type; }
    // After a flower exploded on it.
    void wearDown() { m_type = wornDown(m_type); }

    float opacity() const { return m_opacity; }
    float opacityStep() const { return m_opacityStep; }
    void setOpacityStep(float step) { m_opacityStep = step; }
    float startDelay() const { return m_startDelay; }
    void setStartDelay(float ms) { m_startDelay = ms; }
    const Vec4& position() const { return m_position; }

private:
    CellType m_type;
    Vec4 m_position;
    float m_opacity = 0.0f;
    float m_opacityStep = 0.05f;
    float m_startDelay = 0.0f;
};
