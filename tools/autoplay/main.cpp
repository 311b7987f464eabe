// autoplay: plays levels headless through the real Field with a greedy
// player, many seeds per level, and prints win rate, moves and score.
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

bool parseArgs(int argc, char** argv, Settings& s) {
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

bool readLevel(const Settings& s, int level, LevelFile& out) {
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

    void add(const Autoplayer::Result& r) {
        ++games;
        wins += r.won;
        moves += r.moves;
        score += r.score;
        if (r.won) {
            wonMoves += r.moves;
            lastTenthMoves += r.movesOnLastTenth;
        }
    }
    double winRate() const { return 100.0 * wins / games; }
    // Of the moves in won games, the share spent once nine tenths of the cells were cleared.
    double lastTenthShare() const {
        return wonMoves > 0 ? 100.0 * static_cast<double>(lastTenthMoves) / static_cast<double>(wonMoves) : 0.0;
    }
};

int flowersPerTurn(const LevelFile& file, int cells) {
    return static_cast<int>(static_cast<double>(cells) / 100.0 * file.newFlowerPercent);
}

void printHeader(bool markdown) {
    if (markdown)
        std::printf("| level | colours | cells | per turn | won | moves | last tenth | score |\n"
                    "|---|---|---|---|---|---|---|---|\n");
    else
        std::printf("level colours cells turn  won%%  moves last10%%   score\n");
}

void printRow(bool markdown, int level, const LevelFile& file, int cells, const Tally& t) {
    const char* format = markdown ? "| %d | %d | %d | %d | %.0f%% | %ld | %.0f%% | %ld |\n"
                                  : "%5d %7d %5d %4d %5.0f %6ld %7.0f %7ld\n";
    std::printf(format, level, file.numColours, cells, flowersPerTurn(file, cells), t.winRate(),
                t.moves / t.games, t.lastTenthShare(), t.score / t.games);
    std::fflush(stdout);
}
} // namespace

int main(int argc, char** argv) {
    Settings s;
    if (!parseArgs(argc, argv, s)) {
        std::fprintf(stderr, "usage: autoplay [--dir DIR] [--levels A-B] [--games N] [--check] [--markdown]\n");
        return 2;
    }
    printHeader(s.markdown);
    int faults = 0;
    for (int level = s.first; level <= s.last; ++level) {
        LevelFile file;
        if (!readLevel(s, level, file))
            return 1;
        Tally tally;
        int cells = 0;
        for (int g = 0; g < s.games; ++g) {
            const std::uint32_t seed = static_cast<std::uint32_t>(level * 1000 + g);
            Field field(file, level, true, seed);
            cells = field.cellCount();
            Autoplayer bot(seed, {.checkInvariants = s.check});
            const Autoplayer::Result r = bot.play(field);
            tally.add(r);
            if (!r.fault.empty()) {
                std::fprintf(stderr, "level %d seed %u: %s\n", level, seed, r.fault.c_str());
                ++faults;
            }
        }
        printRow(s.markdown, level, file, cells, tally);
    }
    return faults == 0 ? 0 : 1;
}
