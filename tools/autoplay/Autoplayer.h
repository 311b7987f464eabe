// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "board/Field.h"

// A player that drives a real Field the way the play screen does: select,
// move, and update with a fixed frame time. The casual player takes the best
// single move, with no look-ahead: bursts over uncleared cells first, then
// moves that build pairs. The careless player moves any flower anywhere.
class Autoplayer {
public:
    enum class Style { Casual, Careless };

    struct Result {
        bool won = false;
        int moves = 0;
        // Moves made once no more than a tenth of the cells were left uncleared.
        int movesOnLastTenth = 0;
        // The move after which the board-clear award came first, 0 when it never came.
        int boardClearMove = 0;
        int score = 0;
        int updates = 0;
        std::string fault; // the first broken invariant, empty when none
    };

    struct Options {
        Style style = Style::Casual;
        float dt = 33.0f;
        int maxMoves = 4000;
        // How often it shoots an insect: it waits still on its flower for a second
        // and a half, time enough for any attentive player.
        int catchPercent = 100;
        bool checkInvariants = false;
    };
    // The benchmark's players: a casual one misses three insects in ten, a
    // careless one never looks up.
    static Options casual() { return {.style = Style::Casual, .catchPercent = 70}; }
    static Options careless() { return {.style = Style::Careless, .catchPercent = 0}; }

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
    Move bestMove(const Field& field);
    Move randomMove(const Field& field);
    static Move firstMove(const Field& field);
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
