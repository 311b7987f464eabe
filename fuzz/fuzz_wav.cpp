// SPDX-License-Identifier: GPL-3.0-or-later
// WAV reader and effect loading, with a short mix of the loaded sound.
#include "audio/CSoundManager.h"
#include "audio/CWaveReader.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string scratchFile()
{
    return "/tmp/fuzz_wav_" + std::to_string(::getpid()) + ".wav";
}

void readAll(const std::string& path)
{
    CWaveReader reader;
    reader.open(path);
    std::vector<std::uint8_t> chunk(4096);
    for (int pass = 0; pass < 2 && reader.isOpen(); ++pass) {
        while (reader.read(chunk.data(), std::uint32_t(chunk.size())) > 0) {
        }
        reader.rewind();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = scratchFile();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    readAll(path);
    CSoundManager manager;
    manager.setFailureNotice([](const std::string&, const std::string&) {});
    manager.initialise(nullptr, SoundDevice::createDetached());
    manager.enable();
    if (manager.load(path, 1)) {
        manager.play(1);
        std::vector<std::int32_t> mix(2 * 4096, 0);
        manager.device()->mix(mix.data(), 4096);
    }
    std::remove(path.c_str());
    return 0;
}
