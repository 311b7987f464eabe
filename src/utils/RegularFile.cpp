// SPDX-License-Identifier: GPL-3.0-or-later
#include "utils/RegularFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* kindOf(mode_t mode)
{
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a plain file";
}

std::string inWords(std::uint64_t bytes)
{
    if (bytes >= 1u << 20)
        return std::to_string(bytes >> 20) + " MB";
    if (bytes >= 1u << 10)
        return std::to_string(bytes >> 10) + " kB";
    return std::to_string(bytes) + " bytes";
}

} // namespace

RegularFile::RegularFile(const std::string& path, std::uint64_t maxSize) : m_maxSize(maxSize)
{
    // Non-blocking, so a FIFO without a writer opens at once and is refused below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            refuse(Status::Missing, {});
        else if (errno == ENXIO) // a socket
            refuse(Status::NotRegular, "is a socket, not a regular file");
        else
            refuse(Status::Unreadable, std::string("cannot be read: ") + std::strerror(errno));
        return;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        refuse(Status::Unreadable, std::string("cannot be read: ") + std::strerror(errno));
    } else if (!S_ISREG(info.st_mode)) {
        refuse(Status::NotRegular,
               std::string("is ") + kindOf(info.st_mode) + ", not a regular file");
    } else if (static_cast<std::uint64_t>(info.st_size) > maxSize) {
        refuse(Status::TooLarge, "is " + inWords(static_cast<std::uint64_t>(info.st_size)) +
                                     ", more than the " + inWords(maxSize) + " such a file can be");
    } else {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        m_stream = ::fdopen(fd, "rb");
        if (m_stream != nullptr) {
            m_status = Status::Open;
            m_size = static_cast<std::uint64_t>(info.st_size);
            return;
        }
        refuse(Status::Unreadable, std::string("cannot be read: ") + std::strerror(errno));
    }
    ::close(fd);
}

RegularFile::~RegularFile()
{
    if (m_stream != nullptr)
        std::fclose(m_stream);
}

void RegularFile::refuse(Status status, std::string problem)
{
    m_status = status;
    m_problem = std::move(problem);
}

std::optional<std::vector<std::uint8_t>> RegularFile::readAll()
{
    if (!isOpen())
        return std::nullopt;
    // The size is only what fstat said: a file that grows meanwhile (or one
    // of /proc, which says 0) is read up to one byte past the limit.
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(m_size));
    std::uint8_t chunk[65536];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, m_stream)) > 0) {
        if (bytes.size() + got > m_maxSize) {
            refuse(Status::TooLarge,
                   "is larger than the " + inWords(m_maxSize) + " such a file can be");
            return std::nullopt;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    if (std::ferror(m_stream)) {
        refuse(Status::Unreadable, std::string("cannot be read: ") + std::strerror(errno));
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::vector<std::uint8_t>>
RegularFile::read(const std::string& path, std::uint64_t maxSize, std::string& problem)
{
    RegularFile file(path, maxSize);
    auto bytes = file.readAll();
    problem = file.problem();
    return bytes;
}
