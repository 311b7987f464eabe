// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/ContinueDialog.h"

#include "app/Application.h"
#include "app/Config.h"
#include "audio/MusicPlaylist.h"
#include "screens/MenuDrawing.h"
#include "ui/Button.h"
#include "ui/MenuCursor.h"
#include "ui/MenuResources.h"
#include "utils/Translation.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>

namespace {

std::unique_ptr<Button> dialogButton(Dialog& dialog, const MenuResources& resources,
                                     const KeyValueFile& layout, const std::string& name)
{
    auto button = std::make_unique<Button>(dialog, resources.texture(name));
    button->loadPosition(layout, name);
    dialog.addControl(*button);
    return button;
}

} // namespace

ContinueDialog::ContinueDialog(MenuResources& resources, MusicPlaylist& music, int level, int score)
    : m_resources(resources), m_music(music), m_level(level), m_score(score)
{
    const KeyValueFile layout = MenuResources::loadLayout(resources.pack(), kLayout);
    m_continueSavedButton = dialogButton(*this, resources, layout, "m_continuesaved_btn");
    m_startNewButton = dialogButton(*this, resources, layout, "m_startnew_btn");
    m_cancelButton = dialogButton(*this, resources, layout, "m_cancel_btn");
    setInitialFocus(*m_continueSavedButton);
}

ContinueDialog::~ContinueDialog() = default;

void ContinueDialog::onControl(Control& control)
{
    if (&control == m_continueSavedButton.get())
        choose(ContinueChoice::ContinueSaved, 0);
    else if (&control == m_startNewButton.get())
        choose(ContinueChoice::StartNew, 0);
    else if (&control == m_cancelButton.get())
        choose(ContinueChoice::Cancel, 1);
}

void ContinueDialog::choose(ContinueChoice choice, int result)
{
    m_choice = choice;
    setResult(result);
    Application::get().close(false);
}

void ContinueDialog::update(float dt)
{
    Dialog::update(dt);
    // The fade-in steps once a frame.
    if (m_alpha < 1.0f)
        m_alpha += 0.075f;
}

void ContinueDialog::render()
{
    glPushMatrix();
    drawDim(0.0f, 0.0f, 0.0f, std::min(m_alpha, 0.5f));
    MenuDrawing::drawQuad(m_resources.texture("m_continue_dlg_back"), positionX(), positionY(),
                          positionX() + float(backgroundWidth()),
                          positionY() + float(backgroundHeight()), positionZ(), m_alpha);
    char text[64];
    const TextColour white{1.0f, 1.0f, 1.0f, 1.0f};
    std::snprintf(text, sizeof text, tr("LEVEL : %d"), m_level);
    m_resources.font().drawOutlined(text, 25.0f, positionX() + 162.0f, 275.0f, 0.0f, white);
    std::snprintf(text, sizeof text, tr("SCORE : %d"), m_score);
    m_resources.font().drawOutlined(text, 25.0f, positionX() + 164.0f, 305.0f, 0.0f, white);
    Dialog::render();
    glPopMatrix();
    m_music.pump();
    MenuCursor::renderCurrent();
}
