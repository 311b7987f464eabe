#include "utils/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

bool AtomicFile::write(const std::string& path, const void* bytes, std::size_t size)
{
    const std::string temporary = path + ".tmp" + std::to_string(::getpid());
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr)
        return false;
    bool ok = std::fwrite(bytes, 1, size, file) == size;
    ok = std::fflush(file) == 0 && ok;
    ok = ::fsync(::fileno(file)) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    if (ok && std::rename(temporary.c_str(), path.c_str()) == 0)
        return true;
    const int reason = errno; // for the caller's message, not the clean-up's
    std::remove(temporary.c_str());
    errno = reason;
    return false;
}
