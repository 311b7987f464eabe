// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/Blast.h"

#include "board/Field.h"

Blast::Blast(const Vec4& centre, Field& field, float radius) : m_centre(centre), m_field(field)
{
    Vec4 direction{1.0f, 0.0f, 0.0f, 1.0f};
    for (int i = 0; i < kRays; ++i) {
        Vec4 target = m_centre + normalise(direction) * radius;
        target.w = m_centre.w;
        m_rays.push_back({m_centre, target});
        direction = rotated(direction, 5.0f);
    }
}

bool Blast::update(float)
{
    if (!m_started) {
        m_field.events().playSound(BoardSound::Bowl, SoundRestart::Always);
        m_started = true;
    }
    for (std::size_t i = 0; i < m_rays.size();) {
        Ray& ray = m_rays[i];
        const Vec4 d = ray.target - ray.current;
        if (length(d) <= kStep) {
            m_rays.erase(m_rays.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        ray.current += normalise(d) * kStep;
        m_field.events().spark(16.0f, ray.current, {0.0f, 0.0f, 0.0f, 1.0f});
        sweep(ray.current);
        ++i;
    }
    return m_rays.empty();
}

void Blast::sweep(const Vec4& point)
{
    const int row = m_field.rowAt(static_cast<float>(static_cast<int>(point.y)));
    const int col = m_field.colInRow(static_cast<float>(static_cast<int>(point.x)), row);
    if (Flower* f = m_field.flowerAt(row, col); f && f->isIdle()) {
        m_field.award(100, f->position());
        f->explode(m_field.events());
        m_field.events().playSound(BoardSound::GlassBreaks, SoundRestart::UnlessPlaying);
    }
    if (const CellBack* back = m_field.cellBackAt(row, col);
        back && back->type() != CellType::Cleared)
        m_field.clearCellBack(row, col);
}
