// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/HighScoreTable.h"

#include "utils/KeyValueFile.h"
#include "utils/PlayerFile.h"
#include "utils/Utf8.h"

#include <cstdio>

HighScoreTable::HighScoreTable(int pages) : m_pages(std::size_t(pages > 0 ? pages : 1)) {}

std::string HighScoreTable::nameKey(int page, int row)
{
    char key[64];
    std::snprintf(key, sizeof key, "top7.rec_name%03d%03d", page, row);
    return key;
}

std::string HighScoreTable::pointsKey(int page, int row)
{
    char key[64];
    std::snprintf(key, sizeof key, "top7.rec_points%03d%03d", page, row);
    return key;
}

void HighScoreTable::load(const KeyValueFile& file)
{
    for (int p = 0; p < pageCount(); ++p)
        for (int r = 0; r < kRows; ++r) {
            HighScoreEntry& e = m_pages[std::size_t(p)][std::size_t(r)];
            // Damaged or hand-edited bytes are dropped, not drawn.
            e.name = Utf8::valid(file.getString(nameKey(p, r), kFreshName));
            e.points = file.getInt(pointsKey(p, r), 0);
        }
}

void HighScoreTable::save(KeyValueFile& file) const
{
    for (int p = 0; p < pageCount(); ++p)
        for (int r = 0; r < kRows; ++r) {
            const HighScoreEntry& e = entry(p, r);
            file.setString(nameKey(p, r), storableName(e.name));
            file.setInt(pointsKey(p, r), e.points);
        }
}

void HighScoreTable::loadFile(const std::string& path)
{
    KeyValueFile file;
    file.loadFromDisk(path, true, kKey, kKeyLength);
    load(file);
}

bool HighScoreTable::saveFile(const std::string& path) const
{
    KeyValueFile file;
    save(file);
    return PlayerFile::save(file, path, kKey, kKeyLength);
}

bool HighScoreTable::qualifies(int page, int points) const
{
    return points > entry(page, kRows - 1).points;
}

int HighScoreTable::insert(int page, int points, const std::string& name)
{
    if (page < 0 || page >= pageCount() || !qualifies(page, points))
        return kNoRow;
    Page& rows = m_pages[std::size_t(page)];
    rows[kRows - 1] = HighScoreEntry{storableName(name), points};
    int row = kRows - 1;
    for (int i = kRows - 2; i >= 0; --i) {
        if (rows[std::size_t(i)].points >= points)
            break;
        std::swap(rows[std::size_t(i)], rows[std::size_t(i + 1)]);
        row = i;
    }
    return row;
}

const HighScoreEntry& HighScoreTable::entry(int page, int row) const
{
    static const HighScoreEntry fresh;
    if (page < 0 || page >= pageCount() || row < 0 || row >= kRows)
        return fresh;
    return m_pages[std::size_t(page)][std::size_t(row)];
}

std::string HighScoreTable::storableName(const std::string& name)
{
    std::string stored;
    for (char c : name) {
        if (c == '"')
            c = '\'';
        else if (c == '/' && !stored.empty() && stored.back() == '/')
            c = '\\';
        stored += c;
    }
    return stored;
}

int HighScoreTable::pagesInUse() const
{
    for (int p = pageCount() - 1; p > 0; --p)
        for (const HighScoreEntry& e : m_pages[std::size_t(p)])
            if (e.points != 0 || e.name != kFreshName)
                return p + 1;
    return 1;
}
