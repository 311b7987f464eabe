// SPDX-License-Identifier: GPL-3.0-or-later
// autoplay: plays levels headless through the real Field, many seeds per
// level, with a casual player (the best single move, 70 % of the insects
// shot) and a careless one (random moves), and prints for each how often it
// wins, its moves, how often the board-clear award came within its first ten
// moves, the hunt for the last cells and its score.
//   autoplay [--dir DIR] [--levels A-B] [--games N] [--check] [--markdown]
// Without --dir it plays the designed levels the game's files are written from.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "Autoplayer.h"
#include "LevelDesign.h"
#include "board/LevelFile.h"

namespace {
struct Settings {
    std::string dir;
    int first = 1;
    int last = 100;
    int games = 20;
    bool check = false;
    bool markdown = false;
};

bool parseArgs(int argc, char** argv, Settings& s)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--dir" && hasValue)
            s.dir = argv[++i];
        else if (a == "--games" && hasValue)
            s.games = std::max(1, std::atoi(argv[++i]));
        else if (a == "--levels" && hasValue) {
            if (std::sscanf(argv[++i], "%d-%d", &s.first, &s.last) == 1)
                s.last = s.first;
        } else if (a == "--check")
            s.check = true;
        else if (a == "--markdown")
            s.markdown = true;
        else
            return false;
    }
    return s.first >= 1 && s.last >= s.first;
}

bool readLevel(const Settings& s, int level, LevelFile& out)
{
    if (s.dir.empty()) {
        out = LevelDesign::make(level);
        return true;
    }
    char name[32];
    std::snprintf(name, sizeof name, "/level%03d.txt", level);
    std::ifstream in(s.dir + name, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "autoplay: cannot read %s%s\n", s.dir.c_str(), name);
        return false;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LevelFile::Parsed parsed = LevelFile::parse(bytes.data(), bytes.size());
    if (!parsed.level) {
        std::fprintf(stderr, "autoplay: %s%s: %s\n", s.dir.c_str(), name, parsed.error.c_str());
        return false;
    }
    out = std::move(*parsed.level);
    return true;
}

struct Tally {
    int games = 0;
    int wins = 0;
    long moves = 0;
    long score = 0;
    long wonMoves = 0;
    long lastTenthMoves = 0;
    int earlyClears = 0;

    void add(const Autoplayer::Result& r)
    {
        ++games;
        earlyClears += r.boardClearMove > 0 && r.boardClearMove <= 10;
        wins += r.won;
        moves += r.moves;
        score += r.score;
        if (r.won) {
            wonMoves += r.moves;
            lastTenthMoves += r.movesOnLastTenth;
        }
    }
    double winRate() const { return 100.0 * wins / games; }
    double earlyClearRate() const { return 100.0 * earlyClears / games; }
    // Of the moves in won games, the share spent once nine tenths of the cells were cleared.
    double lastTenthShare() const
    {
        return wonMoves > 0
                   ? 100.0 * static_cast<double>(lastTenthMoves) / static_cast<double>(wonMoves)
                   : 0.0;
    }
};

int flowersPerTurn(const LevelFile& file, int cells)
{
    return static_cast<int>(static_cast<double>(cells) / 100.0 * file.newFlowerPercent);
}

void printHeader(bool markdown)
{
    if (markdown)
        std::printf("| level | colours | cells | per turn | wild | won | moves | clear in 10 "
                    "| last tenth | score | careless won | moves | clear in 10 |\n"
                    "|---|---|---|---|---|---|---|---|---|---|---|---|---|\n");
    else
        std::printf("level col cells turn wild | won%% moves clr10%% last10%%  score | "
                    "careless won%% moves clr10%%\n");
}

void printRow(bool markdown, int level, const LevelFile& file, int cells, const Tally& casual,
              const Tally& careless)
{
    const char* format =
        markdown ? "| %d | %d | %d | %d | %d%% | %.0f%% | %ld | %.0f%% | %.0f%% | %ld "
                   "| %.0f%% | %ld | %.0f%% |\n"
                 : "%5d %3d %5d %4d %4d | %4.0f %5ld %6.0f %7.0f %6ld | %13.0f %5ld %6.0f\n";
    std::printf(format, level, file.numColours, cells, flowersPerTurn(file, cells),
                file.wildcardPercent, casual.winRate(), casual.moves / casual.games,
                casual.earlyClearRate(), casual.lastTenthShare(), casual.score / casual.games,
                careless.winRate(), careless.moves / careless.games, careless.earlyClearRate());
    std::fflush(stdout);
}

// Both players start from the same boards: game g of a level uses one seed.
Tally playLevel(const Settings& s, int level, const LevelFile& file, Autoplayer::Options options,
                int& cells, int& faults)
{
    options.checkInvariants = s.check;
    Tally tally;
    for (int g = 0; g < s.games; ++g) {
        const std::uint32_t seed = static_cast<std::uint32_t>(level * 1000 + g);
        FieldListener unwatched;
        Field field(file, level, true, seed, unwatched);
        cells = field.cellCount();
        Autoplayer bot(seed, options);
        const Autoplayer::Result r = bot.play(field);
        tally.add(r);
        if (!r.fault.empty()) {
            std::fprintf(stderr, "level %d seed %u: %s\n", level, seed, r.fault.c_str());
            ++faults;
        }
    }
    return tally;
}
} // namespace

int main(int argc, char** argv)
{
    Settings s;
    if (!parseArgs(argc, argv, s)) {
        std::fprintf(
            stderr,
            "usage: autoplay [--dir DIR] [--levels A-B] [--games N] [--check] [--markdown]\n");
        return 2;
    }
    printHeader(s.markdown);
    int faults = 0;
    for (int level = s.first; level <= s.last; ++level) {
        LevelFile file;
        if (!readLevel(s, level, file))
            return 1;
        int cells = 0;
        const Tally casual = playLevel(s, level, file, Autoplayer::casual(), cells, faults);
        const Tally careless = playLevel(s, level, file, Autoplayer::careless(), cells, faults);
        printRow(s.markdown, level, file, cells, casual, careless);
    }
    return faults == 0 ? 0 : 1;
}
