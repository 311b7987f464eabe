// SPDX-License-Identifier: GPL-3.0-or-later
#include "utils/AtomicFile.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

std::string folderOf(const std::string& path)
{
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

// The process that wrote "name.tmpPID", when the entry is such a leftover.
bool writerOf(std::string_view entry, std::string_view prefix, pid_t& pid)
{
    if (entry.size() <= prefix.size() || entry.substr(0, prefix.size()) != prefix)
        return false;
    const std::string digits(entry.substr(prefix.size()));
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9)
        return false;
    pid = static_cast<pid_t>(std::atol(digits.c_str()));
    return pid > 0;
}

bool isRunning(pid_t pid)
{
    return ::kill(pid, 0) == 0 || errno != ESRCH;
}

// The rename is only durable once the folder's own entry list is on disk.
void syncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

void AtomicFile::removeLeftovers(const std::string& path)
{
    const std::string folder = folderOf(path);
    const std::string prefix = std::filesystem::path(path).filename().string() + ".tmp";
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr)
        return;
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(listing)) {
        pid_t pid = 0;
        if (writerOf(entry->d_name, prefix, pid) && pid != ::getpid() && !isRunning(pid))
            stale.push_back(folder + "/" + entry->d_name);
    }
    ::closedir(listing);
    for (const std::string& name : stale)
        std::remove(name.c_str());
}

bool AtomicFile::write(const std::string& path, const void* bytes, std::size_t size)
{
    removeLeftovers(path);
    const std::string temporary = path + ".tmp" + std::to_string(::getpid());
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr)
        return false;
    // The first step that fails tells the caller why (a full disk shows at
    // the flush; the sync after it may fail for its own reason).
    int reason = 0;
    auto step = [&reason](bool done) {
        if (!done && reason == 0)
            reason = errno != 0 ? errno : EIO;
    };
    errno = 0;
    step(std::fwrite(bytes, 1, size, file) == size);
    step(std::fflush(file) == 0);
    step(::fsync(::fileno(file)) == 0);
    step(std::fclose(file) == 0);
    if (reason == 0) {
        if (std::rename(temporary.c_str(), path.c_str()) == 0) {
            syncFolder(folderOf(path));
            return true;
        }
        reason = errno;
    }
    std::remove(temporary.c_str());
    errno = reason;
    return false;
}
