// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio/CWaveReader.h"
#include "platform/SoundBuffer.h"

#include <cstdint>
#include <memory>
#include <vector>

// One loaded effect: its playback buffers (the first made from the file, the
// others duplicates of it) and the reader that fills them again after a loss.
class CSoundEffect {
public:
    enum class Fill { Once, Repeat };

    CSoundEffect(std::vector<std::unique_ptr<SoundBuffer>> buffers, std::uint32_t bufferBytes,
                 std::unique_ptr<CWaveReader> reader);
    ~CSoundEffect();

    // Plays a buffer that is free, or a random one when all are busy.
    void play(std::uint32_t priority, bool looping);
    void stop();
    void rewind();
    bool isPlaying() const;
    void setVolume(long attenuation);
    void setPan(long pan);
    // Restores the buffer when it was lost; true when it had to be restored.
    bool restoreIfLost(SoundBuffer& buffer);
    bool fill(SoundBuffer& buffer, Fill mode);

    int count() const { return static_cast<int>(m_buffers.size()); }
    std::uint32_t bufferBytes() const { return m_bufferBytes; }
    SoundBuffer& buffer(int index) { return *m_buffers.at(index); }
    const CWaveReader& reader() const { return *m_reader; }

private:
    SoundBuffer& chooseBuffer();

    std::vector<std::unique_ptr<SoundBuffer>> m_buffers;
    std::uint32_t m_bufferBytes;
    std::unique_ptr<CWaveReader> m_reader;
};
