// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/LevelChoiceScreen.h"

#include "app/Application.h"
#include "app/Config.h"
#include "board/Field.h"
#include "board/LevelFile.h"
#include "game/BoardRenderer.h"
#include "objects/Font.h"
#include "platform/Clock.h"
#include "platform/VirtualKey.h"
#include "screens/MenuDrawing.h"
#include "ui/Button.h"
#include "ui/MenuResources.h"
#include "ui/TrackBar.h"
#include "utils/Translation.h"

#include <GL/gl.h>

#include <cstdlib>

namespace {

float layoutNumber(const KeyValueFile& layout, const std::string& key)
{
    return float(std::atof(layout.getString(key, "0").c_str()));
}

} // namespace

LevelChoiceScreen::LevelChoiceScreen(MenuResources& resources, float logicalWidth,
                                     float logicalHeight, MusicPlaylist& music, Config& config,
                                     const PlayArt* art)
    : MenuScreen(resources, logicalWidth, logicalHeight, DragonColours::Random, music, config)
{
    const KeyValueFile layout = MenuResources::loadLayout(resources.pack(), kLayout);
    m_closeButton = &addButton(layout, "m_close_btn", "m_cancel_btn");
    m_okButton = &addButton(layout, "m_ok_btn", "m_start_btn");
    m_nextButton = &addButton(layout, "m_next_btn", "m_help_next_btn");
    m_prevButton = &addButton(layout, "m_prev_btn", "m_help_prev_btn");
    m_okButton->setGreyWhenDisabled(true);
    setInitialFocus(*m_okButton);
    auto slider = std::make_unique<TrackBar>(*this, resources.texture("m_music_track_bar"));
    slider->setPosition(layoutNumber(layout, "m_level_track_bar.x"),
                        layoutNumber(layout, "m_level_track_bar.y"),
                        layoutNumber(layout, "m_level_track_bar.z"));
    slider->setRange(0.0f, float(kLevelCount - 1));
    slider->setLength(500.0f / float(kLevelCount) * float(kLevelCount - 1));
    slider->setValue(0.0f);
    slider->setKeyStep(1.0f);
    m_slider = &own(std::move(slider));
    m_preview = std::make_unique<Field>(LevelFile::load(1), 1, false, Clock::milliseconds(),
                                        m_previewEvents);
    if (art != nullptr)
        m_renderer = std::make_unique<BoardRenderer>(*art);
}

LevelChoiceScreen::~LevelChoiceScreen() = default;

int LevelChoiceScreen::chosenIndex() const
{
    const int index = int(m_slider->value());
    return index < 0 ? 0 : (index > kLevelCount - 1 ? kLevelCount - 1 : index);
}

bool LevelChoiceScreen::isLocked() const
{
    return chosenIndex() + 1 > m_config.m_level;
}

std::string LevelChoiceScreen::openLevels(int highest)
{
    if (highest <= 1)
        return tr("Level 1 open");
    return tr("Levels 1-%d open", highest > kLevelCount ? kLevelCount : highest);
}

bool LevelChoiceScreen::onFocusKey(int virtualKey)
{
    if (virtualKey != VirtualKey::Left && virtualKey != VirtualKey::Right)
        return MenuScreen::onFocusKey(virtualKey);
    const int index = chosenIndex() + (virtualKey == VirtualKey::Right ? 1 : -1);
    if (index >= 0 && index < kLevelCount)
        showLevel(index);
    return true;
}

void LevelChoiceScreen::showLevel(int index)
{
    m_slider->setValue(float(index));
    updateStart();
}

void LevelChoiceScreen::updateStart()
{
    m_okButton->setEnabled(!isLocked());
}

void LevelChoiceScreen::onKeyDown(int virtualKey)
{
    if (virtualKey == m_config.m_backKey)
        onControl(*m_closeButton);
    MenuScreen::onKeyDown(virtualKey);
}

void LevelChoiceScreen::onControl(Control& control)
{
    MenuScreen::onControl(control);
    const int index = chosenIndex();
    if (&control == m_closeButton) {
        m_confirmed = false;
        Application::get().close(false);
    } else if (&control == m_okButton) {
        m_confirmed = true;
        if (!isLocked())
            Application::get().close(false);
    } else if (&control == m_prevButton) {
        if (index > 0)
            showLevel(index - 1);
    } else if (&control == m_nextButton) {
        if (index < kLevelCount - 1)
            showLevel(index + 1);
    }
}

void LevelChoiceScreen::refreshPreview()
{
    const int level = chosenIndex() + 1;
    if (m_preview->level() != level)
        m_preview = std::make_unique<Field>(LevelFile::load(level), level, false,
                                            Clock::milliseconds(), m_previewEvents);
}

void LevelChoiceScreen::render()
{
    glPushMatrix();
    drawBackdrop("m_cust_lev_wnd");
    drawLevelNumber();
    drawOpenLevels();
    drawPreview();
    updateStart();
    if (isLocked())
        MenuDrawing::drawQuad(m_resources.locked(), 446.0f, 210.0f,
                              446.0f + float(m_resources.locked()->width()),
                              210.0f + float(m_resources.locked()->height()), 0.0f);
    Window::render();
    finishRender();
}

// At its place under the preview while it ends before the next button;
// otherwise centred, smaller if need be.
void LevelChoiceScreen::drawLevelNumber() const
{
    const std::string number = tr("Level: %d", chosenIndex() + 1);
    const char* text = number.c_str();
    const Font& font = m_resources.font();
    Font::FittedText place{kLevelSize, kLevelX};
    if (kLevelX + font.measure(text, kLevelSize) > kLevelRight)
        place = font.fitCentred(text, kLevelSize, 400.0f, kLevelWidth);
    font.drawOutlined(text, place.size, place.x, kLevelY, 10.0f,
                      TextColour{1.0f, 1.0f, 1.0f, 1.0f});
}

// Centred between the slider's end labels.
void LevelChoiceScreen::drawOpenLevels()
{
    const std::string text = openLevels(m_config.m_level);
    const Font& font = m_resources.font();
    const Font::FittedText fitted =
        font.fitCentred(text.c_str(), kOpenLevelsSize, 400.0f, kOpenLevelsWidth);
    font.drawOutlined(text.c_str(), fitted.size, fitted.x, kOpenLevelsY, 10.0f,
                      TextColour{1.0f, 0.85f, 0.4f, 1.0f});
}

void LevelChoiceScreen::drawPreview()
{
    glPushMatrix();
    glTranslatef(kPreviewX, kPreviewY, 0.0f);
    glScalef(kPreviewScale, kPreviewScale, 0.2625f);
    refreshPreview();
    if (m_renderer != nullptr)
        m_renderer->drawPreview(*m_preview);
    glPopMatrix();
}
