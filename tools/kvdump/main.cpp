// SPDX-License-Identifier: GPL-3.0-or-later
// kvdump FILE [KEY]: prints a key-value file in key order as "key<TAB>value".
#include "utils/KeyValueFile.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: kvdump FILE [KEY]\n");
        return 2;
    }
    const char* key = argc == 3 ? argv[2] : nullptr;
    KeyValueFile store;
    if (!store.loadFromDisk(argv[1], true, key, key ? std::strlen(key) : 0)) {
        std::fprintf(stderr, "kvdump: cannot open %s\n", argv[1]);
        return 1;
    }
    for (const auto& [name, value] : store.entries())
        std::printf("%s\t%s\n", name.c_str(), value.c_str());
    return 0;
}
