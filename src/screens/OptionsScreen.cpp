// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/OptionsScreen.h"

#include "app/Application.h"
#include "app/Config.h"
#include "audio/CSoundManager.h"
#include "audio/MusicPlaylist.h"
#include "objects/LanguagePack.h"
#include "objects/TextureReload.h"
#include "platform/VirtualKey.h"
#include "screens/MenuDrawing.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/ChoiceBox.h"
#include "ui/MenuCursor.h"
#include "ui/MenuResources.h"
#include "ui/TrackBar.h"
#include "utils/GameFolders.h"
#include "utils/LanguageChoice.h"
#include "utils/Translation.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>

OptionsScreen::OptionsScreen(MenuResources& resources, float logicalWidth, float logicalHeight,
                             MusicPlaylist& music, Config& config)
    : MenuScreen(resources, logicalWidth, logicalHeight, DragonColours::Random, music, config)
{
    const KeyValueFile layout = MenuResources::loadLayout(resources.pack(), kLayout);
    m_closeButton = &addButton(layout, "m_close_btn", "m_back_btn");
    auto slider = std::make_unique<TrackBar>(*this, resources.texture("m_music_track_bar"));
    slider->setPosition(
        float(std::atof(layout.getString("m_musik_volume_track_bar.x", "0").c_str())),
        float(std::atof(layout.getString("m_musik_volume_track_bar.y", "0").c_str())),
        float(std::atof(layout.getString("m_musik_volume_track_bar.z", "0").c_str())));
    slider->setRange(0.0f, 64.0f);
    slider->setLength(204.0f);
    slider->setValue(float(config.m_musicVolume));
    m_volume = &own(std::move(slider));
    m_sound = &addCheckBox(layout, "m_sound_cb", config.m_sound);
    m_hints = &addCheckBox(layout, "m_hints_cb", config.m_hints);
    m_dragonsBox = &addCheckBox(layout, "m_dragons_cb", config.m_showDragons);
    m_fullScreen = &addCheckBox(layout, "m_fs_cb", Application::get().isFullScreen());
    m_language = &own(std::make_unique<ChoiceBox>(*this, resources.font(), kLanguageChoiceWidth,
                                                  kLanguageChoiceHeight, kLanguageChoiceTextSize));
    m_language->loadPosition(layout, "m_language_choice");
    m_languageLabelX = float(std::atof(layout.getString("m_language_label.x", "0").c_str()));
    m_languageLabelY = float(std::atof(layout.getString("m_language_label.y", "0").c_str()));
    listLanguages();
}

// "System language" first, in the language spoken; every other choice in its own.
void OptionsScreen::listLanguages()
{
    m_languageCodes = {""};
    for (std::string& code : LanguageChoice::available(GameFolders::current().dataFolder()))
        m_languageCodes.push_back(std::move(code));
    std::vector<std::string> names = {tr(kSystemLanguage)};
    for (std::size_t i = 1; i < m_languageCodes.size(); ++i)
        names.push_back(LanguageChoice::ownName(m_languageCodes[i]));
    const auto chosen =
        std::find(m_languageCodes.begin(), m_languageCodes.end(), m_config.m_language);
    const int selected =
        chosen == m_languageCodes.end() ? 0 : int(chosen - m_languageCodes.begin());
    m_language->setChoices(std::move(names), selected);
}

// The catalogue and the pictures change at once; the choice is saved at once.
void OptionsScreen::applyLanguage()
{
    m_config.m_language = m_languageCodes[std::size_t(m_language->selected())];
    LanguagePack::follow(m_resources.pack(), GameFolders::current().dataFolder(),
                         m_config.m_language, GameFolders::systemVariable);
    TextureReload::onLanguageChanged(Application::exists() &&
                                     Application::get().platformWindow().hasContext());
    listLanguages();
    m_config.save();
}

CheckBox& OptionsScreen::addCheckBox(const KeyValueFile& layout, const std::string& name,
                                     bool checked)
{
    auto box = std::make_unique<CheckBox>(*this, m_resources.texture("m_check_box"));
    box->loadPosition(layout, name);
    box->setChecked(checked);
    return own(std::move(box));
}

void OptionsScreen::onKeyDown(int virtualKey)
{
    if (virtualKey == m_config.m_backKey)
        onControl(*m_closeButton);
    MenuScreen::onKeyDown(virtualKey);
}

void OptionsScreen::onControl(Control& control)
{
    MenuScreen::onControl(control);
    Config& config = m_config;
    if (&control == m_closeButton) {
        Application::get().close(false);
    } else if (&control == m_volume) {
        config.m_musicVolume = int(m_volume->value());
    } else if (&control == m_sound) {
        config.m_sound = m_sound->isChecked();
        if (CSoundManager::exists())
            CSoundManager::get().setEnabled(config.m_sound);
    } else if (&control == m_hints) {
        config.m_hints = m_hints->isChecked();
    } else if (&control == m_dragonsBox) {
        config.m_showDragons = m_dragonsBox->isChecked();
    } else if (&control == m_language) {
        applyLanguage();
    }
}

void OptionsScreen::update(float dt)
{
    Window::update(dt);
    MenuCursor::updateCurrent(dt);
    applyFullScreenBox();
    m_dragons.step(dt);
}

void OptionsScreen::applyFullScreenBox()
{
    Application& application = Application::get();
    MusicPlaylist& music = m_music;
    const bool wanted = m_fullScreen->isChecked();
    if (wanted == application.isFullScreen())
        return;
    music.stop();
    if (wanted) {
        if (application.setFullScreen(int(m_logicalWidth), int(m_logicalHeight))) {
            m_draggable = false;
            MenuDrawing::setProjection(m_logicalWidth, m_logicalHeight);
        }
    } else {
        application.leaveFullScreen();
        m_draggable = true;
        MenuDrawing::setProjection(m_logicalWidth, m_logicalHeight);
    }
    music.playNext(-1);
}

void OptionsScreen::drawKeys() const
{
    const Font& font = m_resources.font();
    float y = kKeysTextY;
    for (const char* english : kKeysLines) {
        const char* line = tr(english);
        // A margin at each side of the window, smaller words when they need it.
        const Font::FittedText fitted =
            font.fitCentred(line, kKeysTextSize, m_logicalWidth / 2.0f, m_logicalWidth - 40.0f);
        font.drawOutlined(line, fitted.size, fitted.x, y, 0.0f, {0.91f, 0.96f, 0.88f, 1.0f});
        y += kKeysLineStep;
    }
}

void OptionsScreen::drawLanguageLabel() const
{
    m_resources.font().drawOutlined(tr(kLanguageLabel), kLanguageLabelSize, m_languageLabelX,
                                    m_languageLabelY, 0.0f, {1.0f, 0.953f, 0.816f, 1.0f});
}

void OptionsScreen::render()
{
    glPushMatrix();
    drawBackdrop("m_options_window_back");
    drawKeys();
    drawLanguageLabel();
    Window::render();
    glPopMatrix();
    Config& config = m_config;
    config.m_musicVolume = int(m_volume->value());
    m_music.setVolume(config.m_musicVolume);
    m_music.pump();
    MenuCursor::renderCurrent();
}
