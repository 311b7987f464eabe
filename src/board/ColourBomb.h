// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "board/Effect.h"
#include "board/Vec4.h"

class Field;

// Darts flying from a point to every flower of one colour, bursting those
// still idle when they arrive.
class ColourBomb : public Effect {
public:
    static constexpr float kStep = 2.75f;

    ColourBomb(int colour, const Vec4& centre, Field& field);
    bool update(float dt) override;

    struct Dart {
        Vec4 current;
        Vec4 target;
        int row;
        int col;
    };
    const std::vector<Dart>& darts() const { return m_darts; }
    int colour() const { return m_colour; }

private:
    void strike(const Dart& dart);

    int m_colour;
    Vec4 m_centre;
    Field& m_field;
    std::vector<Dart> m_darts;
    bool m_started = false;
};
