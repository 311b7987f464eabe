// SPDX-License-Identifier: GPL-3.0-or-later
// xmrender IN.xm OUT.wav [SECONDS]: renders a module through the game's music
// player into a 44100 Hz 16-bit stereo WAV file.
#include "audio/MusicRender.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool readFile(const char* path, std::vector<std::uint8_t>& bytes)
{
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    std::uint8_t chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    std::fclose(file);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: xmrender IN.xm OUT.wav [SECONDS]\n");
        return 2;
    }
    double seconds = 0.0;
    if (argc == 4) {
        char* end = nullptr;
        seconds = std::strtod(argv[3], &end);
        if (end == argv[3] || *end != '\0' || !(seconds > 0.0)) {
            std::fprintf(stderr, "xmrender: SECONDS must be a positive number, not \"%s\"\n",
                         argv[3]);
            return 2;
        }
    }
    std::vector<std::uint8_t> bytes;
    if (!readFile(argv[1], bytes)) {
        std::fprintf(stderr, "xmrender: cannot read %s\n", argv[1]);
        return 1;
    }
    const MusicRender render = renderModule(bytes.data(), bytes.size(), seconds);
    if (!render.loaded) {
        std::fprintf(stderr, "xmrender: %s is not an XM module the player can load\n", argv[1]);
        return 1;
    }
    if (!writeWaveFile(argv[2], render.frames)) {
        std::fprintf(stderr, "xmrender: cannot write %s\n", argv[2]);
        return 1;
    }
    if (!render.songEnded && seconds <= 0.0) {
        std::printf("song did not end; cut after %.0f seconds\n", kLongestRender);
    }
    std::printf("%.3f\n", render.seconds);
    return 0;
}
