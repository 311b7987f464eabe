#include "app/PlayerFile.h"

#include "app/Log.h"
#include "utils/KeyValueFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>

bool PlayerFile::makeFolderFor(const std::string& path)
{
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::filesystem::path partial;
    for (const std::filesystem::path& part : folder) {
        partial /= part;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) {
            Log::write("Could not create the folder %s: %s", partial.c_str(), std::strerror(errno));
            return false;
        }
    }
    return true;
}

bool PlayerFile::save(const KeyValueFile& file, const std::string& path, const char* key,
                      std::size_t keyLength)
{
    if (!makeFolderFor(path))
        return false;
    if (file.save(path, key, keyLength))
        return true;
    Log::write("Could not write %s: %s", path.c_str(), std::strerror(errno));
    return false;
}
