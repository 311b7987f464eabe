// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/ColourBomb.h"

#include "board/Field.h"

ColourBomb::ColourBomb(int colour, const Vec4& centre, Field& field)
    : m_colour(colour), m_centre(centre), m_field(field)
{
    for (int r = 0; r < field.rows(); ++r)
        for (int c = 0; c < field.rowLength(r); ++c)
            if (const Flower* f = field.flowerAt(r, c); f && f->colour() == colour)
                m_darts.push_back({m_centre, f->position(), r, c});
}

bool ColourBomb::update(float)
{
    if (!m_started) {
        m_field.events().playSound(BoardSound::Bowl, SoundRestart::Always);
        m_started = true;
    }
    for (std::size_t i = 0; i < m_darts.size();) {
        Dart& dart = m_darts[i];
        const Vec4 d = dart.target - dart.current;
        if (length(d) <= kStep) {
            strike(dart);
            m_darts.erase(m_darts.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        dart.current += normalise(d) * kStep;
        m_field.events().spark(16.0f, dart.current, {0.0f, 0.0f, 0.0f, 1.0f});
        ++i;
    }
    return m_darts.empty();
}

void ColourBomb::strike(const Dart& dart)
{
    Flower* f = m_field.flowerAt(dart.row, dart.col);
    if (!f || !f->isIdle())
        return;
    m_field.award(100, f->position());
    f->explode(m_field.events());
    m_field.events().playSound(BoardSound::GlassBreaks, SoundRestart::Always);
}
