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
} // namespace

int main(int argc, char** argv) {
    Settings s;
    if (!parseArgs(argc, argv, s)) {
        std::fprintf(stderr, "usage: autoplay [--dir DIR] [--levels A-B] [--games N] [--check] [--markdown]\n");
        return 2;
    }
    if (s.markdown)
        std::printf("| level | colours | cells | won | moves | score |\n|---|---|---|---|---|---|\n");
    else
        std::printf("level colours cells  won%%  moves   score\n");
    int faults = 0;
    for (int level = s.first; level <= s.last; ++level) {
        LevelFile file;
        if (!readLevel(s, level, file))
            return 1;
        int wins = 0;
        long moves = 0, score = 0, cells = 0;
        for (int g = 0; g < s.games; ++g) {
            const std::uint32_t seed = static_cast<std::uint32_t>(level * 1000 + g);
            Field field(file, level, true, seed);
            cells = field.cellCount();
            Autoplayer bot(seed, {.checkInvariants = s.check});
            const Autoplayer::Result r = bot.play(field);
            wins += r.won;
            moves += r.moves;
            score += r.score;
            if (!r.fault.empty()) {
                std::fprintf(stderr, "level %d seed %u: %s\n", level, seed, r.fault.c_str());
                ++faults;
            }
        }
        const double rate = 100.0 * wins / s.games;
        if (s.markdown)
            std::printf("| %d | %d | %ld | %.0f%% | %ld | %ld |\n", level, file.numColours, cells,
                        rate, moves / s.games, score / s.games);
        else
            std::printf("%5d %7d %5ld %5.0f %6ld %7ld\n", level, file.numColours, cells, rate,
                        moves / s.games, score / s.games);
        std::fflush(stdout);
    }
    return faults == 0 ? 0 : 1;
}
