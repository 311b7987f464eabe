#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "board/BoardSounds.h"
#include "board/Field.h"
#include "effects/ParticleSystem.h"

// Small boards for the rules tests: a hexagon of one cell kind, no flowers,
// no announced flowers unless asked for.
struct BoardShape {
    int rows = 5;
    int width = 5;
    char cell = '0';
    int colours = 5;
    int fill = 0;
    int newFlowers = 0;
    int wildcards = 0;
    int level = 1;
    bool realGame = true;
    unsigned seed = 1;
    std::string layout = {}; // replaces the uniform hexagon when given
};

inline LevelFile levelFor(const BoardShape& shape) {
    LevelFile f;
    f.numColours = shape.colours;
    f.fillPercent = shape.fill;
    f.newFlowerPercent = shape.newFlowers;
    f.wildcardPercent = shape.wildcards;
    f.rows = shape.rows;
    f.width = shape.width;
    f.layout = shape.layout.empty() ? std::string(static_cast<std::size_t>(f.positionCount()), shape.cell)
                                   : shape.layout;
    return f;
}

inline std::unique_ptr<Field> makeField(const BoardShape& shape = {}) {
    return std::make_unique<Field>(levelFor(shape), shape.level, shape.realGame, shape.seed);
}

// Runs the intro until the player may act.
inline void finishIntro(Field& field) {
    for (int i = 0; i < 2000 && field.state() == FieldState::Intro; ++i)
        field.update(16.0f);
}

inline Flower& idleFlower(Field& field, int r, int c, int colour) {
    Flower& f = field.placeFlower(r, c, colour);
    f.makeIdle();
    return f;
}

// Selects and moves, then updates until the flower has arrived.
inline bool playMove(Field& field, GridPos from, GridPos to) {
    if (field.selectAt(from.row, from.col) < 0)
        return false;
    const bool accepted = field.moveSelectedTo(to.row, to.col);
    field.deselectAll();
    for (int i = 0; i < 500; ++i) {
        field.update(16.0f);
        if (field.arrivedThisFrame())
            return accepted;
    }
    return accepted;
}

inline void runUpdates(Field& field, int count, float dt = 16.0f) {
    for (int i = 0; i < count; ++i)
        field.update(dt);
}

// Records every sound the board plays while it lives.
class SoundLog {
public:
    SoundLog() {
        BoardSounds::setListener([this](int id, BoardSounds::Restart restart) {
            played.push_back(id);
            restarts.push_back(restart);
        });
    }
    ~SoundLog() { BoardSounds::setListener({}); }
    int count(int id) const {
        int n = 0;
        for (int p : played)
            n += p == id;
        return n;
    }
    std::vector<int> played;
    std::vector<BoardSounds::Restart> restarts;
};

// Every rules test runs with a particle system and a sound log.
class BoardTest : public ::testing::Test {
protected:
    void SetUp() override { ParticleSystem::create().clear(); }
    void TearDown() override { ParticleSystem::release(); }
    SoundLog sounds;
};
