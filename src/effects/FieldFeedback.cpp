// SPDX-License-Identifier: GPL-3.0-or-later
#include "effects/FieldFeedback.h"

#include "audio/CSoundManager.h"
#include "audio/SoundIds.h"
#include "effects/ParticleSystem.h"

int FieldFeedback::soundId(BoardSound sound)
{
    switch (sound) {
    case BoardSound::GlassBreaks:
        return SoundId::GlassBreaks;
    case BoardSound::Pop:
        return SoundId::Pop;
    case BoardSound::WaterDrop:
        return SoundId::WaterDrop;
    case BoardSound::Bonk:
        return SoundId::Bonk;
    case BoardSound::Bowl:
        return SoundId::Bowl;
    case BoardSound::Shot:
        return SoundId::Shot;
    case BoardSound::Select:
        return SoundId::Select;
    case BoardSound::Unselect:
        return SoundId::Unselect;
    case BoardSound::TakeOff:
        return SoundId::TakeOff;
    }
    return 0;
}

FieldFeedback::SoundOutput FieldFeedback::soundManager()
{
    return [](int id, SoundRestart restart) {
        if (!CSoundManager::exists())
            return;
        CSoundManager::get().play(id, restart == SoundRestart::Always
                                          ? CSoundManager::WhilePlaying::Restart
                                          : CSoundManager::WhilePlaying::Skip);
    };
}

FieldFeedback::FieldFeedback(ParticleSystem& particles, SoundOutput sounds)
    : m_particles(particles), m_sounds(std::move(sounds))
{
}

void FieldFeedback::playSound(BoardSound sound, SoundRestart restart)
{
    if (m_sounds)
        m_sounds(soundId(sound), restart);
}

void FieldFeedback::burst(const Vec4& position, int count)
{
    m_particles.burst(position, count);
}

void FieldFeedback::spark(float size, const Vec4& position, const Vec4& velocity)
{
    m_particles.emit(size, position, velocity);
}

// Texts are always white; only their alpha fades.
void FieldFeedback::floatingText(const std::string& text, const Vec4& position, float size,
                                 const Vec4& velocity)
{
    m_particles.showText(text, position, size, velocity, {1.0f, 1.0f, 1.0f, 1.0f});
}
