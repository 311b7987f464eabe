// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "board/FieldListener.h"

class ParticleSystem;

// What the player sees and hears of the board: its sparks and texts go into
// the particle system, its sounds to the sound output.
class FieldFeedback : public FieldListener {
public:
    // A sound by its sound-manager identifier (audio/SoundIds.h).
    using SoundOutput = std::function<void(int soundId, SoundRestart restart)>;

    static int soundId(BoardSound sound);
    // Plays through the sound manager.
    static SoundOutput soundManager();

    // particles (not owned) must outlive the feedback.
    FieldFeedback(ParticleSystem& particles, SoundOutput sounds);

    void playSound(BoardSound sound, SoundRestart restart) override;
    void burst(const Vec4& position, int count) override;
    void spark(float size, const Vec4& position, const Vec4& velocity) override;
    void floatingText(const std::string& text, const Vec4& position, float size,
                      const Vec4& velocity) override;

    ParticleSystem& particles() const { return m_particles; }

private:
    ParticleSystem& m_particles;
    SoundOutput m_sounds;
};
