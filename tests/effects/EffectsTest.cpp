#include <gtest/gtest.h>

#include "../board/BoardBuilder.h"
#include "effects/Blast.h"
#include "effects/BoardShake.h"
#include "effects/ColourBomb.h"
#include "effects/FloatingText.h"
#include "effects/Particle.h"
#include "effects/ParticleSystem.h"

#include <set>

namespace {
class Effects : public BoardTest {
protected:
    void SetUp() override {
        BoardTest::SetUp();
        field = makeField({.rows = 9, .width = 9});
        finishIntro(*field);
    }
    std::unique_ptr<Field> field;
};
} // namespace

TEST(ParticleLife, AlphaExactlyZeroIsStillAlive) {
    Particle p({0, 0, 0, 1}, 16.0f, {1, 1, 1, 1}, {3, 0, 0, 1});
    const float decay = p.decay();
    EXPECT_GE(decay, 0.05f);
    EXPECT_LT(decay, 0.0996f);
    EXPECT_FALSE(p.update(30.0f * (1.0f / decay) * 0.5f));
    EXPECT_NEAR(p.colour().w, 0.5f, 1e-4f);
    Particle q({0, 0, 0, 1}, 16.0f, {1, 1, 1, 0}, {1, 0, 0, 1});
    EXPECT_FALSE(q.update(0.0f));
    EXPECT_TRUE(q.update(1.0f));
}

TEST(ParticleLife, SparklesShowEveryGroupAndFrameOfTheSprite) {
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
    ParticleSystem::release();
}

TEST(ParticleLife, SlowsDownAsItFades) {
    Particle p({0, 0, 0, 1}, 16.0f, {1, 1, 1, 0.5f}, {2, 0, 0, 1});
    p.update(30.0f);
    EXPECT_FLOAT_EQ(p.position().x, 1.0f);
}

TEST(FloatingTextLife, KeepsMovingAndGrowingBeforeItFades) {
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

TEST(ParticleSystemLists, DeadEntriesLeaveAtOnce) {
    ParticleSystem& system = ParticleSystem::create();
    system.clear();
    system.emit(8.0f, {0, 0, 0, 1}, {0, 0, 0, 1});
    system.showText("x", {0, 0, 0, 1}, 24.0f, {0, 0, 0, 1}, {1, 1, 1, 1});
    EXPECT_EQ(system.particles().size(), 1u);
    for (int i = 0; i < 200; ++i)
        system.update(30.0f);
    EXPECT_TRUE(system.particles().empty());
    EXPECT_TRUE(system.texts().empty());
    ParticleSystem::release();
    EXPECT_EQ(ParticleSystem::instance(), nullptr);
}

TEST_F(Effects, BlastRaysLiveRadiusOverStepUpdatesAndRadiusZeroEndsAtOnce) {
    Blast zero({200, 300, 0, 1}, *field, 0.0f);
    EXPECT_EQ(zero.rays().size(), 72u);
    EXPECT_TRUE(zero.update(16.0f));
    Blast blast({200, 300, 0, 1}, *field, 45.0f);
    int updates = 1;
    while (!blast.update(16.0f))
        ++updates;
    EXPECT_EQ(updates, 26);
    EXPECT_EQ(sounds.count(SoundId::Bowl), 2);
}

TEST_F(Effects, BlastBurstsIdleFlowersAndClearsCells) {
    idleFlower(*field, 4, 4, 1);
    idleFlower(*field, 4, 5, 2);
    Flower& moving = idleFlower(*field, 3, 4, 3);
    moving.setWaypoints({field->cellCentre(3, 4)});
    Blast blast(field->cellCentre(4, 4), *field, 45.0f);
    while (!blast.update(16.0f)) {
    }
    EXPECT_EQ(field->flowerAt(4, 4)->state(), FlowerState::Exploding);
    EXPECT_EQ(field->flowerAt(4, 5)->state(), FlowerState::Exploding);
    EXPECT_EQ(field->flowerAt(3, 4)->state(), FlowerState::Moving);
    EXPECT_EQ(field->cellBackAt(4, 4)->type(), CellType::Cleared);
    EXPECT_EQ(field->cellBackAt(4, 5)->type(), CellType::Cleared);
    EXPECT_EQ(field->cellBackAt(2, 2)->type(), CellType::Raw);
    // The glass sound is never restarted by a blast.
    for (std::size_t i = 0; i < sounds.played.size(); ++i) {
        if (sounds.played[i] == SoundId::GlassBreaks) {
            EXPECT_EQ(sounds.restarts[i], BoardSounds::Restart::UnlessPlaying);
        }
    }
    EXPECT_EQ(field->score() % 100, 0);
    EXPECT_GE(field->score(), 200 + 300 * 7);
}

TEST_F(Effects, ColourBombForAnAbsentColourEndsAtOnce) {
    idleFlower(*field, 4, 4, 1);
    ColourBomb bomb(3, {200, 300, 0, 1}, *field);
    EXPECT_TRUE(bomb.darts().empty());
    EXPECT_TRUE(bomb.update(16.0f));
    EXPECT_EQ(sounds.count(SoundId::Bowl), 1);
}

TEST_F(Effects, ColourBombDartMissesAFlowerThatStartedMoving) {
    idleFlower(*field, 0, 0, 2);
    Flower& runner = idleFlower(*field, 8, 4, 2);
    idleFlower(*field, 4, 8, 1);
    ColourBomb bomb(2, field->cellCentre(4, 4), *field);
    EXPECT_EQ(bomb.darts().size(), 2u);
    runner.setWaypoints({field->cellCentre(8, 3)});
    int updates = 0;
    while (!bomb.update(16.0f) && updates < 1000)
        ++updates;
    EXPECT_EQ(field->flowerAt(0, 0)->state(), FlowerState::Exploding);
    EXPECT_EQ(runner.state(), FlowerState::Moving);
    EXPECT_EQ(field->flowerAt(4, 8)->state(), FlowerState::Idle);
    EXPECT_EQ(field->score(), 100);
    EXPECT_EQ(sounds.count(SoundId::GlassBreaks), 1);
}

TEST(Shake, OffsetsComeInOppositePairsAndTopUp) {
    BoardShake shake;
    shake.shake(8);
    EXPECT_EQ(shake.queued(), 8u);
    const Vec4 first = shake.offset();
    EXPECT_GE(first.x, -2.0f);
    EXPECT_LE(first.x, 1.0f);
    shake.update(); // the first offset lasts one update
    EXPECT_FLOAT_EQ(shake.offset().x, -first.x);
    EXPECT_FLOAT_EQ(shake.offset().y, -first.y);
    shake.update();
    shake.update();
    EXPECT_EQ(shake.queued(), 7u); // later ones last three
    shake.update();
    EXPECT_EQ(shake.queued(), 6u);
    BoardShake topped;
    topped.shake(3);
    topped.shake(16);
    EXPECT_EQ(topped.queued(), 16u);
    for (int i = 0; i < 100; ++i)
        topped.update();
    EXPECT_EQ(topped.queued(), 0u);
    EXPECT_FLOAT_EQ(topped.offset().x, 0.0f);
}

TEST(PathMarker, FadesWithinZeroAndOne) {
    PathPoint p({0, 0, 0, 1});
    EXPECT_FLOAT_EQ(p.fadeStep(), -0.01f);
    p.update();
    EXPECT_FLOAT_EQ(p.opacity(), 0.0f);
    p.setFadeStep(0.04f);
    for (int i = 0; i < 30; ++i)
        p.update();
    EXPECT_FLOAT_EQ(p.opacity(), 1.0f);
}
