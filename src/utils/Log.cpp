// SPDX-License-Identifier: GPL-3.0-or-later
#include "utils/Log.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct LogState {
    std::string name;
    bool failureSaid = false;
};

LogState& state()
{
    static LogState log;
    return log;
}

const std::string& prefix()
{
    static const std::string text;
    return text;
}

// Non-blocking, so a FIFO without a reader in the log's place fails at once
// instead of stopping the game; a link to /dev/null still silences the log.
std::FILE* openForWriting(const std::string& name, int mode)
{
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC | mode, 0600);
    if (fd < 0)
        return nullptr;
    std::FILE* file = ::fdopen(fd, "a");
    if (file == nullptr)
        ::close(fd);
    return file;
}

// Once a session on standard error, so a full disk is not silent.
void sayFailure(int error)
{
    if (state().failureSaid)
        return;
    state().failureSaid = true;
    std::fprintf(stderr, "vellomar: cannot write the log %s: %s\n", state().name.c_str(),
                 std::strerror(error));
}

} // namespace

void Log::keepPrevious(const std::string& name)
{
    struct stat info {};
    if (::stat(name.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0)
        std::rename(name.c_str(), (name + ".old").c_str());
}

bool Log::open(const std::string& name)
{
    state() = {name, false};
    if (name.empty())
        return true;
    keepPrevious(name);
    std::FILE* file = openForWriting(name, O_TRUNC);
    if (file == nullptr) {
        state().failureSaid = true; // the opener says it
        return false;
    }
    std::fclose(file);
    return true;
}

void Log::write(const char* format, ...)
{
    // The decoding thread reports its failures too.
    static std::mutex writing;
    const std::lock_guard lock(writing);
    if (state().name.empty())
        return;
    std::va_list args;
    va_start(args, format);
    std::va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::vector<char> text(length > 0 ? length + 1 : 1, '\0');
    if (length > 0)
        std::vsnprintf(text.data(), text.size(), format, args);
    va_end(args);

    std::FILE* file = openForWriting(state().name, O_APPEND);
    if (file == nullptr) {
        sayFailure(errno);
        return;
    }
    const bool written = std::fprintf(file, "%s%s\n", prefix().c_str(), text.data()) >= 0;
    const int error = errno;
    if (std::fclose(file) != 0 || !written)
        sayFailure(written ? errno : error);
}

void Log::close()
{
    write("Closing Log");
}
