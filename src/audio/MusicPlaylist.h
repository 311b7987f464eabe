// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio/MusicPlayer.h"

#include <memory>
#include <string>
#include <vector>

// The list of tracks and the music volume; starts the next track when one
// ends. The screen in front pumps it every frame.
class MusicPlaylist {
public:
    MusicPlaylist() = default;
    ~MusicPlaylist();

    // Opens the output device; without one every later call does nothing.
    bool initialise();
    bool initialise(std::unique_ptr<WaveOutput> output);
    void setTracks(const std::vector<std::string>& tracks);
    // Starts the next track (n < 0) or the first one (n >= 0).
    void playNext(int n = -1);
    void stop();
    void pump();
    bool isPlaying() const;
    // 0..64 (larger values are stored as 64); 0 stops the music.
    void setVolume(int volume);
    void destroy();

    int volume() const { return m_volume; }
    bool isAvailable() const { return m_available; }
    bool isEnabled() const { return m_enabled; }
    int current() const { return m_current; }
    const std::vector<std::string>& tracks() const { return m_tracks; }
    MusicPlayer& player() { return m_player; }

private:
    std::vector<std::uint8_t> readTrack(const std::string& name) const;

    MusicPlayer m_player;
    std::vector<std::string> m_tracks;
    int m_current = -1;
    std::unique_ptr<MusicModule> m_module;
    bool m_playing = false;
    int m_volume = 100;
    bool m_available = false;
    bool m_enabled = true;
};
