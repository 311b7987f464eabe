#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "board/Field.h"

// A greedy player that drives a real Field the way the play screen does:
// select, move, and update with a fixed frame time. It prefers moves that
// burst flowers over uncleared cells, then moves that build pairs.
class Autoplayer {
public:
    struct Result {
        bool won = false;
        int moves = 0;
        // Moves made once no more than a tenth of the cells were left uncleared.
        int movesOnLastTenth = 0;
        int score = 0;
        int updates = 0;
        std::string fault; // the first broken invariant, empty when none
    };

    struct Options {
        float dt = 33.0f;
        int maxMoves = 4000;
        // How often it shoots an insect: it waits still on its flower for a second
        // and a half, time enough for any attentive player.
        int catchPercent = 100;
        bool checkInvariants = false;
    };

    Autoplayer(std::uint32_t seed, Options options);

    Result play(Field& field);

private:
    struct Move {
        GridPos from;
        GridPos to;
        int value = -1;
    };

    bool readyForMove(const Field& field) const;
    static bool onLastTenth(const Field& field);
    void advance(Field& field, Result& result);
    void maybeShootInsect(Field& field);
    Move chooseMove(const Field& field);
    int axisColour(const Field& field, GridPos from, GridPos to, int colour,
                   const std::array<Direction, 2>& axis) const;
    int valueOf(const Field& field, GridPos from, GridPos to, int mover) const;
    int runLength(const Field& field, GridPos from, GridPos at, int colour, Direction d,
                  int& wear) const;
    std::string checkInvariants(const Field& field, int lastScore,
                                const Field::Statistics& last) const;

    std::mt19937 m_random;
    Options m_options;
    const Insect* m_judgedInsect = nullptr;
    bool m_willCatch = false;
    int m_startScore = 0;
};
