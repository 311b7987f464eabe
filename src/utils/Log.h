// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// game.log: opened and closed around every line, so everything logged before
// a crash is on disk. The previous session's log is kept as game.log.old.
class Log {
public:
    // Empties the log, the previous one kept beside it; an empty name logs nothing.
    static bool open(const std::string& fileName);
    // A line that cannot be written is said on standard error, once a session.
    static void write(const char* format, ...) __attribute__((format(printf, 1, 2)));
    static void close();

private:
    // Renames a regular, non-empty log to name.old, over the one before.
    static void keepPrevious(const std::string& name);
};
