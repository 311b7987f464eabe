// SPDX-License-Identifier: GPL-3.0-or-later
#include "utils/PlayerFile.h"

#include "utils/KeyValueFile.h"
#include "utils/Log.h"
#include "utils/Translation.h"

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
            const int error = errno;
            Log::write(tr("Could not create the folder %s: %s"), partial.c_str(),
                       std::strerror(error));
            errno = error;
            return false;
        }
    }
    return true;
}

namespace {

std::optional<PlayerFile::Failure>& failure()
{
    static std::optional<PlayerFile::Failure> first;
    return first;
}

} // namespace

bool PlayerFile::save(const KeyValueFile& file, const std::string& path, const char* key,
                      std::size_t keyLength)
{
    if (!makeFolderFor(path)) {
        noteFailure(path, errno);
        return false;
    }
    if (file.save(path, key, keyLength))
        return true;
    const int error = errno;
    Log::write(tr("Could not write %s: %s"), path.c_str(), std::strerror(error));
    noteFailure(path, error);
    return false;
}

void PlayerFile::noteFailure(const std::string& path, int error)
{
    if (!failure())
        failure() = Failure{path, error};
}

const std::optional<PlayerFile::Failure>& PlayerFile::firstFailure()
{
    return failure();
}

void PlayerFile::forgetFailures()
{
    failure().reset();
}
