// SPDX-License-Identifier: GPL-3.0-or-later
// packer: builds and inspects resource packs.
//   packer build PACK LIST     LIST lines: "y|n NAME PATH" (scrambled flag, name in pack, disk
//   file) packer list PACK           one line per entry: name, size, flag packer extract PACK NAME
//   the entry's bytes, unscrambled, on standard output
#include "utils/FilePack.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: packer build PACK LIST | packer list PACK | "
                         "packer extract PACK NAME\n");
    return 2;
}

bool loadPack(FilePack& pack, const char* path)
{
    pack.setKey(kMainPackKey);
    if (pack.load(path))
        return true;
    std::fprintf(stderr, "packer: %s is missing or not a pack\n", path);
    return false;
}

bool addListedFiles(FilePack& pack, const char* listPath)
{
    std::ifstream list(listPath);
    if (!list) {
        std::fprintf(stderr, "packer: cannot read list %s\n", listPath);
        return false;
    }
    std::string line;
    int lineNumber = 0;
    while (std::getline(list, line)) {
        ++lineNumber;
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string flag, name, path;
        fields >> flag >> name;
        std::getline(fields >> std::ws, path);
        if ((flag != "y" && flag != "n") || name.empty() || path.empty()) {
            std::fprintf(stderr, "packer: %s:%d: expected \"y|n NAME PATH\"\n", listPath,
                         lineNumber);
            return false;
        }
        if (!pack.addFile(path, name, flag == "y")) {
            std::fprintf(stderr, "packer: cannot read %s\n", path.c_str());
            return false;
        }
    }
    return true;
}

int build(const char* packPath, const char* listPath)
{
    FilePack pack;
    pack.setKey(kMainPackKey);
    if (!addListedFiles(pack, listPath))
        return 1;
    if (!pack.save(packPath)) {
        std::fprintf(stderr, "packer: cannot write %s\n", packPath);
        return 1;
    }
    return 0;
}

int list(const char* packPath)
{
    FilePack pack;
    if (!loadPack(pack, packPath))
        return 1;
    for (std::size_t i = 0; i < pack.entryCount(); ++i)
        std::printf("%s %u %c\n", pack.names()[i].c_str(), pack.entries()[i].size,
                    pack.entries()[i].scrambled);
    return 0;
}

int extract(const char* packPath, const char* name)
{
    FilePack pack;
    if (!loadPack(pack, packPath))
        return 1;
    if (!pack.contains(name)) {
        std::fprintf(stderr, "packer: %s holds no %s\n", packPath, name);
        return 1;
    }
    const PackEntry entry = pack.getFile(name);
    std::fwrite(entry.data.data(), 1, entry.data.size(), stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "build" && argc == 4)
        return build(argv[2], argv[3]);
    if (command == "list" && argc == 3)
        return list(argv[2]);
    if (command == "extract" && argc == 4)
        return extract(argv[2], argv[3]);
    return usage();
}
