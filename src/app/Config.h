// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/PlatformWindow.h"

#include <memory>
#include <string>

class CSoundManager;
class MusicPlaylist;
class WaveOutput;

// What the shell reports to a save: the geometry is left out while minimised.
struct ConfigSaveState {
    bool minimized = false;
    ScreenRect windowRect;
    bool fullScreen = false;
    bool soundInverted = false;
};

// The configuration record: window geometry, full screen, sound, hints,
// dragons, music volume, the language and the highest level reached, read from data/dx.cfg
// at start-up and written back at shutdown. Other parts read and write the
// fields directly.
class Config {
public:
    // In the game folder; installed, GameFolders puts it in the configuration folder.
    static constexpr const char* kFileName = "data/dx.cfg";
    static constexpr const char* kKey = "kiv";
    static constexpr std::size_t kKeyLength = 3;
    static constexpr const char* kLanguageKey = "m_language";
    // No screen is this large; sizes and positions past it are nonsense.
    static constexpr int kMaxWindowSize = 16384;

    // The process-wide record.
    static Config& get();

    // From data/dx.cfg with the Application's logical size and sound manager.
    void load();
    // Sound effects on or off; the music player opened, given the volume, stopped.
    void apply(MusicPlaylist& music);
    void save();
    // Only the language, read before the pictures are (the rest needs the sound manager).
    void loadLanguage();

    // A missing file keeps the construction values (first run stays true).
    void load(const std::string& path, int logicalWidth, int logicalHeight, CSoundManager& sound);
    // The window no larger than the desktop: a size saved on a larger screen,
    // or edited by hand, must not stop the game. Where it opens is
    // WindowPlacement::keepOnScreen's business.
    void fitToDesktop(const ScreenRect& desktop);
    // musicOutput null: the music player opens the audio device.
    void apply(CSoundManager& sound, MusicPlaylist& music,
               std::unique_ptr<WaveOutput> musicOutput = nullptr);
    void save(const std::string& path, const ConfigSaveState& state) const;

    int m_windowWidth = 0;
    int m_windowHeight = 0;
    int m_windowX = 0;
    int m_windowY = 0;
    bool m_fullScreen = true;
    int m_backKey = 27;
    int m_minimiseKey = 13;
    bool m_sound = true;
    bool m_hints = false;
    bool m_firstRun = true;
    bool m_showDragons = true;
    int m_musicVolume = 40;
    int m_level = 3;
    // A language code, or empty to follow the environment.
    std::string m_language;
};
