// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/BoardShake.h"

#include <cstdlib>

void BoardShake::shake(int n)
{
    const int k = n - static_cast<int>(m_offsets.size());
    Vec4 previous{0.0f, 0.0f, 0.0f, 0.0f};
    for (int i = 0; i < k; ++i) {
        if (i % 2 == 0) {
            const float dx = static_cast<float>((std::rand() & 3) - 2);
            const float dy = static_cast<float>((std::rand() & 3) - 2);
            previous = {dx, dy, 0.0f, 0.0f};
            m_offsets.push_back(previous);
        } else {
            m_offsets.push_back({-previous.x, -previous.y, 0.0f, 0.0f});
        }
    }
}

void BoardShake::update()
{
    if (m_offsets.empty())
        return;
    if (--m_hold < 0) {
        m_offsets.pop_front();
        m_hold = 2;
    }
}

Vec4 BoardShake::offset() const
{
    return m_offsets.empty() ? Vec4{0.0f, 0.0f, 0.0f, 0.0f} : m_offsets.front();
}
