// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

// A file opened for reading only when it is a regular file of a sane size,
// and never by blocking: a FIFO, a device or a folder in its place is refused
// at once instead of hanging the game or filling its memory. A symbolic link
// to a regular file is followed.
class RegularFile {
public:
    enum class Status { Open, Missing, NotRegular, TooLarge, Unreadable };

    RegularFile(const std::string& path, std::uint64_t maxSize);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    Status status() const { return m_status; }
    bool isOpen() const { return m_status == Status::Open; }
    // Why the file was refused, in words for the log ("is a FIFO, not a regular file").
    const std::string& problem() const { return m_problem; }
    std::uint64_t size() const { return m_size; }
    // Null unless open; owned by this object.
    std::FILE* stream() const { return m_stream; }
    // The rest of the file, refused (problem set) when it grew past the limit.
    std::optional<std::vector<std::uint8_t>> readAll();

    // The whole file at path, or nothing with the reason in problem (left
    // empty for a missing file).
    static std::optional<std::vector<std::uint8_t>>
    read(const std::string& path, std::uint64_t maxSize, std::string& problem);

private:
    void refuse(Status status, std::string problem);

    std::FILE* m_stream = nullptr;
    Status m_status = Status::Missing;
    std::string m_problem;
    std::uint64_t m_size = 0;
    std::uint64_t m_maxSize = 0;
};
