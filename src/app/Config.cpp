// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Config.h"

#include "app/Application.h"
#include "audio/CSoundManager.h"
#include "audio/MusicPlaylist.h"
#include "utils/GameFolders.h"
#include "utils/KeyValueFile.h"
#include "utils/PlayerFile.h"

#include <algorithm>

Config& Config::get()
{
    static Config config;
    return config;
}

void Config::load()
{
    int width = 800;
    int height = 600;
    if (Application::exists()) {
        width = Application::get().camera().logicalWidth();
        height = Application::get().camera().logicalHeight();
    }
    load(GameFolders::current().configFile(kFileName), width, height, CSoundManager::get());
}

void Config::loadLanguage()
{
    KeyValueFile file;
    if (file.loadFromDisk(GameFolders::current().configFile(kFileName), true, kKey, kKeyLength))
        m_language = file.getString(kLanguageKey, "");
}

void Config::load(const std::string& path, int logicalWidth, int logicalHeight,
                  CSoundManager& sound)
{
    m_windowWidth = logicalWidth;
    m_windowHeight = logicalHeight;
    KeyValueFile file;
    if (!file.loadFromDisk(path, true, kKey, kKeyLength))
        return;
    m_firstRun = false;
    m_windowWidth = file.getInt("m_window_width", 0);
    if (m_windowWidth < 100 || m_windowWidth > kMaxWindowSize)
        m_windowWidth = logicalWidth;
    m_windowHeight = file.getInt("m_window_height", 0);
    if (m_windowHeight < 100 || m_windowHeight > kMaxWindowSize)
        m_windowHeight = logicalHeight;
    m_windowX = std::clamp(file.getInt("x", 0), -kMaxWindowSize, kMaxWindowSize);
    m_windowY = std::clamp(file.getInt("y", 0), -kMaxWindowSize, kMaxWindowSize);
    m_sound = file.getInt("m_sound", 1) == 1;
    m_hints = file.getInt("m_hints", 1) == 1;
    m_showDragons = file.getBool("m_show_dragons", true);
    sound.setStereoInverted(file.getInt("m_sound_invert", 0) != 0);
    m_fullScreen = file.getInt("m_is_full_screen_loaded", 1) != 0;
    m_musicVolume = file.getInt("m_music_volume", 40);
    m_level = std::max(1, file.getInt("m_level", 3));
    m_language = file.getString(kLanguageKey, "");
}

void Config::fitToDesktop(const ScreenRect& desktop)
{
    const int width = desktop.right - desktop.left;
    const int height = desktop.bottom - desktop.top;
    if (width <= 0 || height <= 0)
        return;
    m_windowWidth = std::min(m_windowWidth, width);
    m_windowHeight = std::min(m_windowHeight, height);
}

void Config::apply(MusicPlaylist& music)
{
    apply(CSoundManager::get(), music);
}

void Config::apply(CSoundManager& sound, MusicPlaylist& music,
                   std::unique_ptr<WaveOutput> musicOutput)
{
    if (m_sound)
        sound.enable();
    else
        sound.disable();
    if (musicOutput != nullptr)
        music.initialise(std::move(musicOutput));
    else
        music.initialise();
    music.setVolume(m_musicVolume);
    music.stop();
}

void Config::save()
{
    ConfigSaveState state;
    if (Application::exists()) {
        Application& application = Application::get();
        state.minimized = application.isMinimized();
        state.windowRect = application.windowRect();
        state.fullScreen = application.isFullScreen();
    }
    state.soundInverted = CSoundManager::get().isStereoInverted();
    save(GameFolders::current().configFile(kFileName), state);
}

void Config::save(const std::string& path, const ConfigSaveState& state) const
{
    KeyValueFile file;
    if (!state.minimized) {
        file.setInt("m_window_width", m_windowWidth);
        file.setInt("m_window_height", m_windowHeight);
        file.setInt("x", state.windowRect.left);
        file.setInt("y", state.windowRect.top);
    }
    file.setInt("m_sound", m_sound ? 1 : 0);
    file.setInt("m_hints", m_hints ? 1 : 0);
    file.setInt("m_sound_invert", state.soundInverted ? 1 : 0);
    file.setInt("m_is_full_screen_loaded", state.fullScreen ? 1 : 0);
    file.setInt("m_music_volume", m_musicVolume);
    file.setInt("m_show_dragons", m_showDragons ? 1 : 0);
    file.setInt("m_level", m_level);
    // Left out while the environment is followed, as older versions wrote it.
    if (!m_language.empty())
        file.setString(kLanguageKey, m_language);
    // Replaced atomically: a failed write keeps the old file.
    PlayerFile::save(file, path, kKey, kKeyLength);
}
