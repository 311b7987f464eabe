// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "audio/SoundIds.h"
#include "effects/FieldFeedback.h"
#include "effects/FloatingText.h"
#include "effects/Particle.h"
#include "effects/ParticleSystem.h"

#include <set>
#include <utility>
#include <vector>

TEST(ParticleLife, AlphaExactlyZeroIsStillAliveAndFadingSlowsItDown)
{
    Particle p({0, 0, 0, 1}, 16.0f, {1, 1, 1, 1}, {3, 0, 0, 1});
    const float decay = p.decay();
    EXPECT_GE(decay, 0.05f);
    EXPECT_LT(decay, 0.0996f);
    EXPECT_FALSE(p.update(30.0f * (1.0f / decay) * 0.5f));
    EXPECT_NEAR(p.colour().w, 0.5f, 1e-4f);
    Particle q({0, 0, 0, 1}, 16.0f, {1, 1, 1, 0}, {1, 0, 0, 1});
    EXPECT_FALSE(q.update(0.0f));
    EXPECT_TRUE(q.update(1.0f));
    // It slows down as it fades.
    Particle half({0, 0, 0, 1}, 16.0f, {1, 1, 1, 0.5f}, {2, 0, 0, 1});
    half.update(30.0f);
    EXPECT_FLOAT_EQ(half.position().x, 1.0f);
}

TEST(ParticleLife, SparklesShowEveryGroupAndFrameOfTheSprite)
{
    ParticleSystem& system = ParticleSystem::create();
    system.clear();
    system.setSpriteGrid(4, 3);
    system.burst({400, 300, 0, 1}, 400);
    std::set<int> groups;
    std::set<int> frames;
    for (const auto& p : system.particles()) {
        groups.insert(p->group());
        frames.insert(p->frame());
    }
    EXPECT_EQ(groups, (std::set<int>{0, 1, 2, 3}));
    EXPECT_EQ(frames, (std::set<int>{0, 1, 2}));
    system.setSpriteGrid(0, -2);
    EXPECT_EQ(system.spriteGrid().groups, 1);
    EXPECT_EQ(system.spriteGrid().frames, 1);
    ParticleSystem::destroy();
}

TEST(FloatingTextLife, KeepsMovingAndGrowingBeforeItFades)
{
    FloatingText t("36", {100, 100, 0, 1}, 24.0f, {0, -0.25f, 0, 1}, {1, 1, 1, 1});
    EXPECT_FLOAT_EQ(t.position().y, 112.0f); // raised by half its size
    EXPECT_GE(t.life(), 200.0f);
    EXPECT_LT(t.life(), 600.0f);
    EXPECT_FALSE(t.update(100.0f));
    EXPECT_FLOAT_EQ(t.colour().w, 1.0f);
    EXPECT_FLOAT_EQ(t.position().y, 111.75f);
    EXPECT_FLOAT_EQ(t.size(), 24.125f);
    int updates = 0;
    while (!t.update(30.0f) && updates < 1000)
        ++updates;
    EXPECT_LT(updates, 1000);
    EXPECT_LT(t.colour().w, 0.0f);
}

TEST(ParticleSystemLists, DeadEntriesLeaveAtOnce)
{
    ParticleSystem& system = ParticleSystem::create();
    system.clear();
    system.emit(8.0f, {0, 0, 0, 1}, {0, 0, 0, 1});
    system.showText("x", {0, 0, 0, 1}, 24.0f, {0, 0, 0, 1}, {1, 1, 1, 1});
    EXPECT_EQ(system.particles().size(), 1u);
    for (int i = 0; i < 200; ++i)
        system.update(30.0f);
    EXPECT_TRUE(system.particles().empty());
    EXPECT_TRUE(system.texts().empty());
    ParticleSystem::destroy();
    EXPECT_FALSE(ParticleSystem::exists());
}

TEST(FieldFeedbackShows, SoundsByTheirIdentifiersAndSparksAndTextsInTheParticleSystem)
{
    ParticleSystem& system = ParticleSystem::create();
    system.clear();
    std::vector<std::pair<int, SoundRestart>> played;
    FieldFeedback feedback(system, [&played](int id, SoundRestart r) {
        played.push_back({id, r});
    });
    const std::vector<std::pair<BoardSound, int>> sounds{
        {BoardSound::GlassBreaks, SoundId::GlassBreaks},
        {BoardSound::Pop, SoundId::Pop},
        {BoardSound::WaterDrop, SoundId::WaterDrop},
        {BoardSound::Bonk, SoundId::Bonk},
        {BoardSound::Bowl, SoundId::Bowl},
        {BoardSound::Shot, SoundId::Shot},
        {BoardSound::Select, SoundId::Select},
        {BoardSound::Unselect, SoundId::Unselect},
        {BoardSound::TakeOff, SoundId::TakeOff}};
    for (const auto& [sound, id] : sounds) {
        feedback.playSound(sound, SoundRestart::UnlessPlaying);
        EXPECT_EQ(played.back(), std::make_pair(id, SoundRestart::UnlessPlaying));
    }
    feedback.playSound(BoardSound::Pop, SoundRestart::Always);
    EXPECT_EQ(played.back().second, SoundRestart::Always);

    feedback.burst({100, 100, 0, 1}, 7);
    EXPECT_EQ(system.particles().size(), 7u);
    feedback.spark(18.0f, {50, 60, 0, 1}, {1, 0, 0, 1});
    ASSERT_EQ(system.particles().size(), 8u);
    EXPECT_FLOAT_EQ(system.particles().back()->size(), 18.0f);
    EXPECT_FLOAT_EQ(system.particles().back()->position().x, 50.0f);
    feedback.floatingText("300", {200, 100, 0, 1}, 24.0f, {0, -0.3f, 0, 1});
    ASSERT_EQ(system.texts().size(), 1u);
    EXPECT_EQ(system.texts().back()->text(), "300");
    EXPECT_FLOAT_EQ(system.texts().back()->velocity().y, -0.3f);
    EXPECT_FLOAT_EQ(system.texts().back()->colour().w, 1.0f);
    ParticleSystem::destroy();
}
