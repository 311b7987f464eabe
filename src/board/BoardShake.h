// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>

#include "board/Vec4.h"

// A queue of small offsets the board is drawn with, each followed by its opposite.
class BoardShake {
public:
    // Tops the queue up to n offsets.
    void shake(int n);
    // Called once per board update.
    void update();
    // The offset to draw with now; zero when still.
    Vec4 offset() const;
    std::size_t queued() const { return m_offsets.size(); }

private:
    std::deque<Vec4> m_offsets;
    int m_hold = 0;
};
