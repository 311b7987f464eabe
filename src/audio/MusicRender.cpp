// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/MusicRender.h"

#include "audio/MusicPlayer.h"
#include "platform/OfflineWaveOutput.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

MusicRender renderModule(const std::uint8_t* bytes, std::size_t size, double maxSeconds, int volume,
                         MixLoops loops)
{
    MusicRender result;
    MusicPlayer player;
    auto output = std::make_unique<OfflineWaveOutput>();
    OfflineWaveOutput* ring = output.get();
    if (!player.openDevice(std::move(output))) {
        return result;
    }
    player.setVolume(volume);
    player.setMixLoops(loops);
    std::unique_ptr<MusicModule> module = player.loadFromMemory(bytes, size);
    if (module == nullptr || !player.play(*module)) {
        return result;
    }
    result.loaded = true;
    const double seconds = maxSeconds > 0 ? maxSeconds : kLongestRender;
    const auto limit = static_cast<std::size_t>(seconds * MusicPlayer::kRate);
    std::vector<std::uint8_t> heard;
    heard.reserve(std::min<std::size_t>(limit, 44100 * 60) * 4 + MusicPlayer::kBlockFrames * 4);
    std::size_t framesHeard = 0;
    while (player.isPlaying() && framesHeard < limit) {
        ring->advance(std::size_t(MusicPlayer::kBlockFrames) * 4, &heard);
        framesHeard += MusicPlayer::kBlockFrames;
        player.pump();
        result.songEnded = result.songEnded || player.songEnded() || !player.isPlaying();
    }
    if (result.songEnded) {
        framesHeard = std::min<std::size_t>(framesHeard, module->state.framesPlayed);
    }
    framesHeard = std::min(framesHeard, limit);
    result.frames.resize(framesHeard * 2);
    std::memcpy(result.frames.data(), heard.data(), result.frames.size() * 2);
    result.seconds = double(framesHeard) / MusicPlayer::kRate;
    player.free(std::move(module));
    return result;
}

namespace {

void put16(std::FILE* file, std::uint16_t value)
{
    const std::uint8_t b[2] = {std::uint8_t(value), std::uint8_t(value >> 8)};
    std::fwrite(b, 1, 2, file);
}

void put32(std::FILE* file, std::uint32_t value)
{
    put16(file, std::uint16_t(value));
    put16(file, std::uint16_t(value >> 16));
}

} // namespace

bool writeWaveFile(const std::string& path, const std::vector<std::int16_t>& frames)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const auto dataBytes = static_cast<std::uint32_t>(frames.size() * 2);
    std::fwrite("RIFF", 1, 4, file);
    put32(file, 36 + dataBytes);
    std::fwrite("WAVEfmt ", 1, 8, file);
    put32(file, 16);
    put16(file, 1);
    put16(file, 2);
    put32(file, 44100);
    put32(file, 176400);
    put16(file, 4);
    put16(file, 16);
    std::fwrite("data", 1, 4, file);
    put32(file, dataBytes);
    std::vector<std::uint8_t> body(frames.size() * 2);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const auto value = static_cast<std::uint16_t>(frames[i]);
        body[2 * i] = std::uint8_t(value);
        body[2 * i + 1] = std::uint8_t(value >> 8);
    }
    std::fwrite(body.data(), 1, body.size(), file);
    const bool ok = std::ferror(file) == 0;
    return std::fclose(file) == 0 && ok;
}
