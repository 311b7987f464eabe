// levelgen OUTDIR: writes levels/level001.txt .. level100.txt of the designed curve.
#include <cstdio>
#include <stdexcept>
#include <string>

#include "LevelDesign.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: levelgen OUTDIR\n");
        return 2;
    }
    for (int level = 1; level <= LevelDesign::kLevels; ++level) {
        std::string text;
        try {
            text = LevelDesign::make(level).text();
        } catch (const std::logic_error& e) {
            std::fprintf(stderr, "levelgen: %s\n", e.what());
            return 1;
        }
        char name[64];
        std::snprintf(name, sizeof name, "/level%03d.txt", level);
        const std::string path = std::string(argv[1]) + name;
        std::FILE* out = std::fopen(path.c_str(), "wb");
        const bool ok = out && std::fwrite(text.data(), 1, text.size(), out) == text.size();
        if (!out || std::fclose(out) != 0 || !ok) {
            std::fprintf(stderr, "levelgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
