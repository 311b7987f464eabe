// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "board/Field.h"
#include "board/FieldListener.h"

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

inline LevelFile levelFor(const BoardShape& shape)
{
    LevelFile f;
    f.numColours = shape.colours;
    f.fillPercent = shape.fill;
    f.newFlowerPercent = shape.newFlowers;
    f.wildcardPercent = shape.wildcards;
    f.rows = shape.rows;
    f.width = shape.width;
    f.layout = shape.layout.empty()
                   ? std::string(static_cast<std::size_t>(f.positionCount()), shape.cell)
                   : shape.layout;
    return f;
}

// For boards whose sounds, sparks and texts no test looks at.
inline FieldListener& unwatched()
{
    static FieldListener none;
    return none;
}

inline std::unique_ptr<Field> makeField(const BoardShape& shape = {},
                                        FieldListener& events = unwatched())
{
    return std::make_unique<Field>(levelFor(shape), shape.level, shape.realGame, shape.seed,
                                   events);
}

// Runs the intro until the player may act.
inline void finishIntro(Field& field)
{
    for (int i = 0; i < 2000 && field.state() == FieldState::Intro; ++i)
        field.update(16.0f);
}

inline Flower& idleFlower(Field& field, int r, int c, int colour)
{
    Flower& f = field.placeFlower(r, c, colour);
    f.makeIdle();
    return f;
}

// Selects and moves, then updates until the flower has arrived.
inline bool playMove(Field& field, GridPos from, GridPos to)
{
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

inline void runUpdates(Field& field, int count, float dt = 16.0f)
{
    for (int i = 0; i < count; ++i)
        field.update(dt);
}

// Everything a board tells; order spells the kinds in the order they came:
// S a sound, B a burst, P a spark, T a text.
class EventLog : public FieldListener {
public:
    struct Burst {
        Vec4 position;
        int count;
    };
    struct Spark {
        float size;
        Vec4 position;
        Vec4 velocity;
    };
    struct Text {
        std::string text;
        Vec4 position;
        float size;
        Vec4 velocity;
    };

    void playSound(BoardSound sound, SoundRestart restart) override
    {
        played.push_back(sound);
        restarts.push_back(restart);
        order += 'S';
    }
    void burst(const Vec4& position, int n) override
    {
        bursts.push_back({position, n});
        order += 'B';
    }
    void spark(float size, const Vec4& position, const Vec4& velocity) override
    {
        sparks.push_back({size, position, velocity});
        order += 'P';
    }
    void floatingText(const std::string& text, const Vec4& position, float size,
                      const Vec4& velocity) override
    {
        texts.push_back({text, position, size, velocity});
        order += 'T';
    }
    int count(BoardSound sound) const
    {
        int n = 0;
        for (BoardSound p : played)
            n += p == sound;
        return n;
    }

    std::vector<BoardSound> played;
    std::vector<SoundRestart> restarts;
    std::vector<Burst> bursts;
    std::vector<Spark> sparks;
    std::vector<Text> texts;
    std::string order;
};

// Every rules test's boards tell their events to one log.
class BoardTest : public ::testing::Test {
protected:
    std::unique_ptr<Field> makeField(const BoardShape& shape = {})
    {
        return ::makeField(shape, events);
    }
    EventLog events;
};

// A board of the given size past its intro, waiting for the player.
template <int Size> class PlayingBoard : public BoardTest {
protected:
    void SetUp() override
    {
        field = BoardTest::makeField({.rows = Size, .width = Size});
        finishIntro(*field);
    }
    std::unique_ptr<Field> field;
};
