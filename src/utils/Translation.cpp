// SPDX-License-Identifier: GPL-3.0-or-later
#include "utils/Translation.h"

#include "utils/Log.h"

#include <algorithm>
#include <cstdio>
#include <set>

namespace {

struct Spoken {
    Catalogue catalogue;
    std::string code;
    unsigned generation = 0;
    std::set<std::string> reportedMisses;
};

Spoken& spoken()
{
    static Spoken instance;
    return instance;
}

} // namespace

void Translation::use(Catalogue catalogue, const std::string& code)
{
    Spoken& now = spoken();
    now.catalogue = std::move(catalogue);
    now.code = code;
    now.reportedMisses.clear();
    ++now.generation;
}

const std::string& Translation::code()
{
    return spoken().code;
}

unsigned Translation::generation()
{
    return spoken().generation;
}

void Translation::missing(const std::string& english, const std::string& where)
{
    Spoken& now = spoken();
    if (now.code.empty() || !now.reportedMisses.insert(english).second)
        return;
    Log::write("No %s translation of \"%s\"; it is shown in English%s%s%s", now.code.c_str(),
               english.c_str(), where.empty() ? "" : " (in ", where.c_str(),
               where.empty() ? "" : ")");
}

const char* tr(const char* english)
{
    Spoken& now = spoken();
    if (now.code.empty() || english == nullptr || *english == '\0')
        return english;
    if (const std::string* found = now.catalogue.find(english))
        return found->c_str();
    Translation::missing(english);
    return english;
}

std::string tr(const std::string& english)
{
    return tr(english.c_str());
}

std::string tr(const char* english, int value)
{
    const char* pattern = tr(english);
    const int length = std::snprintf(nullptr, 0, pattern, value);
    std::string text(std::size_t(std::max(length, 0)), '\0');
    std::snprintf(text.data(), text.size() + 1, pattern, value);
    return text;
}
