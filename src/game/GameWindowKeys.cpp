// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/GameWindow.h"

#include "app/Config.h"
#include "board/Field.h"
#include "effects/Picker.h"
#include "platform/VirtualKey.h"
#include "ui/KeyboardFocus.h"

namespace {

// The logical screen the pointer can reach.
bool onScreen(const Vec4& p)
{
    return p.x >= 0.0f && p.x < 800.0f && p.y >= 0.0f && p.y < 600.0f;
}

} // namespace

void GameWindow::onKeyDown(int virtualKey)
{
    switch (virtualKey) {
    case VirtualKey::Left:
        return moveCursor(CursorStep::Left);
    case VirtualKey::Right:
        return moveCursor(CursorStep::Right);
    case VirtualKey::Up:
        return moveCursor(CursorStep::Up);
    case VirtualKey::Down:
        return moveCursor(CursorStep::Down);
    case VirtualKey::Space:
    case VirtualKey::Enter:
        return pressAtCursor();
    case VirtualKey::X:
    case VirtualKey::GamepadY:
        return shootInsect();
    case VirtualKey::GamepadMenu:
        return leaveToMenu();
    default:
        break;
    }
    if (virtualKey == m_config.m_backKey) {
        if (m_picker && m_picker->isCarrying())
            putBack();
        else
            closeScreen();
    }
    Window::onKeyDown(virtualKey);
}

// The menus' focus glow shows by the same rule: whichever the player used last.
void GameWindow::setAim(Aim aim)
{
    m_aim = aim;
    KeyboardFocus::setShown(aim == Aim::Cursor);
}

Vec4 GameWindow::aimPosition() const
{
    if (m_aim == Aim::Cursor && m_field)
        return m_field->cellCentre(m_cursor.position().row, m_cursor.position().col);
    return mousePosition();
}

// The first press only brings the cursor back where the player left it.
void GameWindow::moveCursor(CursorStep direction)
{
    if (!m_field)
        return;
    m_cursor.fitTo(*m_field);
    if (m_aim == Aim::Cursor)
        m_cursor.step(*m_field, direction);
    setAim(Aim::Cursor);
}

// The picker sees the cursor's cell centre, just as it would see a click
// there. A hidden cursor is only shown: nothing happens on a cell the player
// cannot see, except going on from the results, which a click anywhere does.
void GameWindow::pressAtCursor()
{
    if (!m_field)
        return;
    m_cursor.fitTo(*m_field);
    const bool shown = m_aim == Aim::Cursor;
    setAim(Aim::Cursor);
    if (!shown && !m_field->finished()) {
        dismissHints();
        return;
    }
    const Vec4 at = aimPosition();
    if (m_picker)
        m_picker->update(at);
    pressAt(at.x, at.y);
}

// Aims at the insect as the pointer would, so only while it is on the screen.
void GameWindow::shootInsect()
{
    if (!m_field || !m_field->insectActive() || !m_field->insect())
        return;
    const Vec4 at = m_field->insect()->position();
    if (!onScreen(at))
        return;
    setAim(Aim::Cursor);
    pressAt(at.x, at.y);
}

void GameWindow::putBack()
{
    const Vec4 at = aimPosition();
    m_picker->onRightButtonDown(at.x, at.y);
}

void GameWindow::leaveToMenu()
{
    if (m_picker && m_picker->isCarrying())
        putBack();
    closeScreen();
}
