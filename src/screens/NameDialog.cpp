// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/NameDialog.h"

#include "app/Application.h"
#include "app/Config.h"
#include "audio/MusicPlaylist.h"
#include "screens/MenuDrawing.h"
#include "ui/Button.h"
#include "ui/EditBox.h"
#include "ui/MenuCursor.h"
#include "ui/MenuResources.h"
#include "utils/Translation.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

// Under the title, above the edit box, relative to the dialog.
constexpr float kScoreY = 92.0f;
constexpr float kScoreSize = 22.0f;
// The room inside the dialog's frame.
constexpr float kScoreWidth = 440.0f;

} // namespace

NameDialog::NameDialog(MenuResources& resources, MusicPlaylist& music, int score)
    : m_resources(resources), m_music(music), m_score(score)
{
    const KeyValueFile layout = MenuResources::loadLayout(resources.pack(), kLayout);
    m_okButton = std::make_unique<Button>(*this, resources.texture("m_ok_btn"));
    m_okButton->loadPosition(layout, "m_ok_btn");
    addControl(*m_okButton);
    m_editBox = std::make_unique<EditBox>(*this, &resources.font(), 25.0f,
                                          resources.texture("m_enter_name_editbox"));
    m_editBox->setPosition(layout.getFloat("m_enter_name_box.x", 0.0f),
                           layout.getFloat("m_enter_name_box.y", 0.0f), 0.0f);
    m_editBox->setMaxLength(kMaxNameLength);
    m_editBox->setFocus(true);
    addControl(*m_editBox);
}

NameDialog::~NameDialog() = default;

void NameDialog::onControl(Control& control)
{
    if (&control != m_okButton.get())
        return;
    setResult(0);
    Application::get().close(false);
}

std::string NameDialog::name() const
{
    return m_editBox->text();
}

std::string NameDialog::scoreText() const
{
    return tr("A new high score : %d", m_score);
}

void NameDialog::drawScore() const
{
    const std::string score = scoreText();
    const Font& font = m_resources.font();
    const float middle = positionX() + float(backgroundWidth()) / 2.0f;
    const Font::FittedText fitted = font.fitCentred(score.c_str(), kScoreSize, middle, kScoreWidth);
    font.drawOutlined(score.c_str(), fitted.size, fitted.x, positionY() + kScoreY, positionZ(),
                      {0.91f, 0.96f, 0.88f, std::min(m_alpha, 1.0f)});
}

void NameDialog::update(float dt)
{
    Dialog::update(dt);
    // The fade-in steps once a frame.
    if (m_alpha < 1.0f)
        m_alpha += 0.025f;
}

void NameDialog::render()
{
    glPushMatrix();
    drawDim(0.0f, 0.0f, 0.0f, std::min(m_alpha, 0.5f));
    glDisable(GL_DEPTH_TEST);
    MenuDrawing::drawQuad(m_resources.texture("m_enter_name_dlg_back"), positionX(), positionY(),
                          positionX() + float(backgroundWidth()),
                          positionY() + float(backgroundHeight()), positionZ(), m_alpha);
    drawScore();
    Dialog::render();
    glPopMatrix();
    m_music.pump();
    MenuCursor::renderCurrent();
}
