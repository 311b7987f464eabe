// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/GameWindow.h"

#include "app/Config.h"
#include "board/Field.h"
#include "effects/HintOverlay.h"
#include "effects/Picker.h"
#include "ui/Button.h"
#include "ui/Dialog.h"

#include <algorithm>

GameWindow::~GameWindow() = default;

void GameWindow::showHint(int index)
{
    m_hints.push_back(std::make_unique<HintOverlay>(index));
}

void GameWindow::mouseMoveHints(int, int, std::uint32_t) {}

void GameWindow::dismissHints()
{
    for (auto& hint : m_hints)
        hint->dismiss();
}

void GameWindow::updateHints(float dt)
{
    auto finished = [dt](const std::unique_ptr<HintOverlay>& hint) { return hint->update(dt); };
    m_hints.erase(std::remove_if(m_hints.begin(), m_hints.end(), finished), m_hints.end());
    // With the hints on, those explain the board; without, a short word does.
    if (m_field && m_hints.empty() && !m_config.m_hints)
        m_notice.check(*m_field);
    m_notice.update(dt);
}

void GameWindow::renderHints()
{
    for (auto& hint : m_hints)
        hint->render();
    if (m_art.font != nullptr)
        m_notice.render(*m_art.font);
}
