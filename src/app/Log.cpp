#include "app/Log.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {

std::string& fileName()
{
    static std::string name;
    return name;
}

const std::string& prefix()
{
    static const std::string text;
    return text;
}

} // namespace

bool Log::open(const std::string& name)
{
    fileName() = name;
    std::FILE* file = std::fopen(name.c_str(), "w");
    if (file == nullptr)
        return false;
    std::fclose(file);
    return true;
}

void Log::write(const char* format, ...)
{
    if (fileName().empty())
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

    std::FILE* file = std::fopen(fileName().c_str(), "a+");
    if (file == nullptr)
        return;
    std::fprintf(file, "%s%s\n", prefix().c_str(), text.data());
    std::fclose(file);
}

void Log::close()
{
    write("Closing Log");
}
