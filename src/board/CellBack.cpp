// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/CellBack.h"

#include <algorithm>

void CellBack::update(float dt)
{
    m_startDelay -= dt;
    if (m_startDelay > 0.0f)
        return;
    m_startDelay = 0.0f;
    m_opacity = std::clamp(m_opacity + m_opacityStep, 0.0f, 1.0f);
}
