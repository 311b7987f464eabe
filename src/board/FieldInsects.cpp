// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/Field.h"

#include <cstdlib>

namespace {
constexpr int kFirstInsectLevel = 6;

bool onScreen(const Vec4& p)
{
    return p.x >= -50.0f && p.x < 850.0f && p.y >= -50.0f && p.y < 650.0f;
}
} // namespace

bool Field::insectActive() const
{
    return m_insect && (m_insect->landings() == 0 || m_insect->state() == InsectState::Turning);
}

void Field::updateInsects(float dt)
{
    if (m_insect)
        m_insect->update(dt);
    if (m_level < kFirstInsectLevel)
        return;
    if (m_insectTimer > 0.0f)
        m_insectTimer -= dt;
    if (m_insectTimer > 0.0f || m_finished || m_state != FieldState::Idle || !m_effects.empty() ||
        boardBusy())
        return;
    const std::vector<GridPos> candidates = insectCandidates();
    if (candidates.empty())
        return;
    if (m_insect)
        handleInsectAtRest();
    else
        createInsect(candidates);
}

bool Field::boardBusy() const
{
    for (int r = 0; r < m_H; ++r)
        for (int c = 0; c < rowLength(r); ++c)
            if (const Flower* f = flowerAt(r, c); f && (!f->isIdle() || f->selected()))
                return true;
    return false;
}

std::vector<GridPos> Field::insectCandidates() const
{
    std::vector<GridPos> cells;
    for (int r = 0; r < m_H; ++r)
        for (int c = 0; c < rowLength(r); ++c)
            if (flowerAt(r, c) && cellBackAt(r, c)->type() != CellType::Locked)
                cells.push_back({r, c});
    return cells;
}

// An insect that has sat out its wait locks the cell and leaves; one that
// has left the screen is gone, and the timer starts again.
void Field::handleInsectAtRest()
{
    if (!m_insect->hit() && m_insect->state() == InsectState::Landed && m_insect->landings() == 1) {
        const GridPos under = cellUnder(m_insect->position());
        sendInsectAway();
        if (flowerAt(under.row, under.col)) {
            m_events.playSound(BoardSound::Pop, SoundRestart::Always);
            cellBackAt(under.row, under.col)->setType(CellType::Locked);
        }
        return;
    }
    if (!onScreen(m_insect->position()) && m_insect->landings() >= 1) {
        m_insect.reset();
        m_insectTimer = insectInterval(m_level);
    }
}

void Field::sendInsectAway()
{
    Vec4 heading = m_insect->direction();
    // One hit before its first flight step has no heading yet; leave away from the centre.
    if (length(heading) <= 0.0f)
        heading = normalise(m_insect->position() - Vec4{400.0f, 300.0f, 0.0f, 1.0f});
    if (length(heading) <= 0.0f)
        heading = {0.0f, -1.0f, 0.0f, 1.0f};
    float turn = static_cast<float>(std::rand() % 50 + 25);
    if (std::rand() % 2 == 1)
        turn = -turn;
    Vec4 target = rotated(heading * 1200.0f, turn);
    target.w = 1.0f;
    m_insect->setTarget(target);
}

void Field::createInsect(const std::vector<GridPos>& candidates)
{
    m_events.playSound(BoardSound::TakeOff, SoundRestart::Always);
    auto insect = std::make_unique<Insect>();
    Vec4 start{0.0f, 0.0f, 0.0f, 1.0f};
    switch (std::rand() & 3) {
    case 0:
        start.x = static_cast<float>(std::rand() % 800);
        start.y = -50.0f;
        break;
    case 1:
        start.x = static_cast<float>(std::rand() % 800);
        start.y = 650.0f;
        break;
    case 2:
        start.x = -50.0f;
        start.y = static_cast<float>(std::rand() % 600);
        break;
    default:
        start.x = 850.0f;
        start.y = static_cast<float>(std::rand() % 600);
        break;
    }
    insect->setPosition(start);
    const GridPos target = candidates[static_cast<std::size_t>(std::rand()) % candidates.size()];
    insect->setTarget(cellCentre(target.row, target.col));
    m_insect = std::move(insect);
}
