#pragma once

#include <string>

// game.log: opened and closed around every line, so everything logged before
// a crash is on disk.
class Log {
public:
    static bool open(const std::string& fileName);
    static void write(const char* format, ...) __attribute__((format(printf, 1, 2)));
    static void close();
};
