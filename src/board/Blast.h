// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "board/Effect.h"
#include "board/Vec4.h"

class Field;

// 72 rays sweeping out from a point: they burst the idle flowers and clear
// the cells they cross.
class Blast : public Effect {
public:
    static constexpr int kRays = 72;
    static constexpr float kStep = 1.75f;

    Blast(const Vec4& centre, Field& field, float radius);
    bool update(float dt) override;

    struct Ray {
        Vec4 current;
        Vec4 target;
    };
    const std::vector<Ray>& rays() const { return m_rays; }

private:
    void sweep(const Vec4& point);

    Vec4 m_centre;
    Field& m_field;
    std::vector<Ray> m_rays;
    bool m_started = false;
};
