// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/MusicPlaylist.h"

#include "utils/FilePack.h"

#include <algorithm>
#include <cstdio>

MusicPlaylist::~MusicPlaylist()
{
    destroy();
}

bool MusicPlaylist::initialise()
{
    m_available = m_player.openDevice();
    return m_available;
}

bool MusicPlaylist::initialise(std::unique_ptr<WaveOutput> output)
{
    m_available = m_player.openDevice(std::move(output));
    return m_available;
}

void MusicPlaylist::setTracks(const std::vector<std::string>& tracks)
{
    m_tracks = tracks;
    m_current = -1;
}

void MusicPlaylist::playNext(int n)
{
    if (!m_available || !m_enabled || m_tracks.empty()) {
        return;
    }
    if (n < 0) {
        m_current = m_current + 1 >= int(m_tracks.size()) ? 0 : m_current + 1;
    } else {
        m_current = 0;
    }
    stop();
    m_playing = true;
    std::vector<std::uint8_t> bytes = readTrack(m_tracks[m_current]);
    m_player.setVolume(m_volume);
    m_module = m_player.loadFromMemory(bytes.data(), bytes.size());
    bytes.clear();
    if (m_module != nullptr) {
        m_player.play(*m_module);
    }
    m_player.setVolume(m_volume);
}

std::vector<std::uint8_t> MusicPlaylist::readTrack(const std::string& name) const
{
    if (packExists("main")) {
        return getPack("main").getFile(name).data;
    }
    std::vector<std::uint8_t> bytes;
    if (std::FILE* file = std::fopen(name.c_str(), "rb")) {
        std::uint8_t chunk[65536];
        std::size_t got = 0;
        while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
            bytes.insert(bytes.end(), chunk, chunk + got);
        }
        std::fclose(file);
    }
    return bytes;
}

void MusicPlaylist::stop()
{
    if (!m_available) {
        return;
    }
    m_playing = false;
    if (m_module != nullptr) {
        m_player.free(std::move(m_module));
    }
}

void MusicPlaylist::pump()
{
    if (!m_playing) {
        return;
    }
    if (m_player.isPlaying()) {
        m_player.pump();
    } else {
        playNext(-1);
    }
}

bool MusicPlaylist::isPlaying() const
{
    return m_player.isPlaying();
}

void MusicPlaylist::setVolume(int volume)
{
    if (!m_available) {
        return;
    }
    m_volume = std::clamp(volume, 0, 64);
    m_player.setVolume(m_volume);
    if (m_volume <= 0) {
        m_enabled = false;
        stop();
    } else if (!m_enabled && !m_player.isPlaying()) {
        m_enabled = true;
        playNext(-1);
    }
}

void MusicPlaylist::destroy()
{
    stop();
    m_player.closeDevice();
    m_available = false;
    m_tracks.clear();
}
