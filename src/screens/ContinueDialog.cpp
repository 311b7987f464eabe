// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/ContinueDialog.h"

#include "app/Application.h"
#include "app/Config.h"
#include "audio/MusicPlaylist.h"
#include "objects/Font.h"
#include "screens/MenuDrawing.h"
#include "ui/Button.h"
#include "ui/MenuCursor.h"
#include "ui/MenuResources.h"
#include "utils/Translation.h"

#include <GL/gl.h>

#include <algorithm>
#include <string>

namespace {

constexpr float kTextSize = 25.0f;
// The room inside the dialog's frame, from the dialog's left edge.
constexpr float kTextRight = 388.0f;
constexpr float kTextMiddle = 256.0f;
constexpr float kTextWidth = 264.0f;

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

// The two lines keep their places while both fit inside the dialog's frame;
// otherwise both are centred in it, each smaller if need be.
void ContinueDialog::drawLines() const
{
    const Font& font = m_resources.font();
    const std::string lines[] = {tr("LEVEL : %d", m_level), tr("SCORE : %d", m_score)};
    constexpr float kPlaces[] = {162.0f, 164.0f};
    constexpr float kBaselines[] = {275.0f, 305.0f};
    bool inPlace = true;
    for (std::size_t i = 0; i < 2; ++i)
        inPlace = inPlace && kPlaces[i] + font.measure(lines[i].c_str(), kTextSize) <= kTextRight;
    for (std::size_t i = 0; i < 2; ++i) {
        const char* text = lines[i].c_str();
        const Font::FittedText place =
            inPlace ? Font::FittedText{kTextSize, kPlaces[i]}
                    : font.fitCentred(text, kTextSize, kTextMiddle, kTextWidth);
        font.drawOutlined(text, place.size, positionX() + place.x, kBaselines[i], 0.0f,
                          {1.0f, 1.0f, 1.0f, 1.0f});
    }
}

void ContinueDialog::render()
{
    glPushMatrix();
    drawDim(0.0f, 0.0f, 0.0f, std::min(m_alpha, 0.5f));
    MenuDrawing::drawQuad(m_resources.texture("m_continue_dlg_back"), positionX(), positionY(),
                          positionX() + float(backgroundWidth()),
                          positionY() + float(backgroundHeight()), positionZ(), m_alpha);
    drawLines();
    Dialog::render();
    glPopMatrix();
    m_music.pump();
    MenuCursor::renderCurrent();
}
