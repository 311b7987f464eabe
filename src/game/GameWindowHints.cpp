#include "game/GameWindow.h"

#include "board/Field.h"
#include "effects/Picker.h"
#include "ui/Button.h"
#include "ui/Dialog.h"

#include <algorithm>

#include "game/GameHints.h"

GameWindow::~GameWindow() = default;

void GameWindow::showHint([[maybe_unused]] int index) {
#if VM_HAVE_HINTS
    m_hints.push_back(std::make_unique<HintOverlay>(index));
#endif
}

void GameWindow::mouseMoveHints([[maybe_unused]] int x, [[maybe_unused]] int y,
                                [[maybe_unused]] std::uint32_t keys) {}

void GameWindow::dismissHints() {
#if VM_HAVE_HINTS
    for (auto& hint : m_hints)
        hint->dismiss();
#endif
}

void GameWindow::updateHints([[maybe_unused]] float dt) {
#if VM_HAVE_HINTS
    auto finished = [dt](const std::unique_ptr<HintOverlay>& hint) { return hint->update(dt); };
    m_hints.erase(std::remove_if(m_hints.begin(), m_hints.end(), finished), m_hints.end());
#endif
}

void GameWindow::renderHints() {
#if VM_HAVE_HINTS
    for (auto& hint : m_hints)
        hint->render();
#endif
}
