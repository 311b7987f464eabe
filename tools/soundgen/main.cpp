// SPDX-License-Identifier: GPL-3.0-or-later
// soundgen: builds the game's sound from the text sources in assets/.
//   soundgen effect <recipe.snd> <out.wav>
//   soundgen music <score.txt> <out.xm>
#include "EffectRecipe.h"
#include "MusicCompiler.h"
#include "WaveFile.h"

#include <cstdio>
#include <exception>
#include <string>

namespace {

constexpr int kEffectRate = 22050;

void buildEffect(const std::string& source, const std::string& target)
{
    const auto recipe = soundgen::EffectRecipe::parse(soundgen::SourceText::fromFile(source));
    soundgen::writeFileAtomically(
        target, soundgen::encodeWave(soundgen::renderEffect(recipe, kEffectRate), kEffectRate));
}

void buildMusic(const std::string& source, const std::string& target)
{
    const auto module = soundgen::compileScore(soundgen::SourceText::fromFile(source));
    const auto bytes = soundgen::writeXm(module);
    soundgen::writeFileAtomically(target, bytes);
    std::printf("%s: %d channels, %zu orders, %zu instruments, %.1f s, %zu bytes\n", target.c_str(),
                module.channels, module.orders.size(), module.instruments.size(),
                soundgen::songSeconds(module), bytes.size());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: soundgen effect <recipe.snd> <out.wav>\n"
                             "       soundgen music <score.txt> <out.xm>\n");
        return 2;
    }
    const std::string mode = argv[1];
    try {
        if (mode == "effect")
            buildEffect(argv[2], argv[3]);
        else if (mode == "music")
            buildMusic(argv[2], argv[3]);
        else {
            std::fprintf(stderr, "soundgen: unknown mode \"%s\"\n", mode.c_str());
            return 2;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "soundgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
