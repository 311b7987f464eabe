// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/PathPoint.h"

#include <algorithm>

void PathPoint::update()
{
    m_opacity = std::clamp(m_opacity + m_fadeStep, 0.0f, 1.0f);
}
