// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/Vec4.h"

// The marker of one cell along the previewed path; its opacity tells the
// board drawing which cells are lit.
class PathPoint {
public:
    explicit PathPoint(const Vec4& position) : m_position(position) {}

    void update();
    float opacity() const { return m_opacity; }
    float fadeStep() const { return m_fadeStep; }
    void setFadeStep(float step) { m_fadeStep = step; }
    const Vec4& position() const { return m_position; }

private:
    Vec4 m_position;
    float m_opacity = 0.0f;
    float m_fadeStep = -0.01f;
};
