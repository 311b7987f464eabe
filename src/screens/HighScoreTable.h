// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <vector>

class KeyValueFile;

struct HighScoreEntry {
    std::string name = "Nemo";
    int points = 0;
};

// The seven best results, per page, best first; the game fills page 0.
class HighScoreTable {
public:
    static constexpr int kRows = 7;
    static constexpr int kPages = 2;
    static constexpr const char* kFileName = "data/top7.tbl";
    static constexpr const char* kKey = "zvbrpd#@#7081";
    static constexpr std::size_t kKeyLength = 13;
    static constexpr const char* kFreshName = "Nemo";

    explicit HighScoreTable(int pages = kPages);

    // Missing keys give the fresh entry. Names are UTF-8; invalid bytes are dropped.
    void load(const KeyValueFile& file);
    void save(KeyValueFile& file) const;
    // A missing or unreadable file leaves every entry fresh.
    void loadFile(const std::string& path);
    bool saveFile(const std::string& path) const;

    bool qualifies(int page, int points) const;
    static constexpr int kNoRow = -1;

    // Below the last entry with greater or equal points; the last entry drops
    // out. Returns the row the entry took, or kNoRow when it earned none.
    int insert(int page, int points, const std::string& name);

    const HighScoreEntry& entry(int page, int row) const;
    int pageCount() const { return int(m_pages.size()); }
    // The pages up to the last one holding any entry that is not fresh; at
    // least 1. The game fills only page 0, so that is usually all there is.
    int pagesInUse() const;

    static std::string nameKey(int page, int row);
    static std::string pointsKey(int page, int row);
    // The name as the table file can hold it unchanged: no double quotes
    // (they would end the value) and no two slashes in a row (a comment).
    static std::string storableName(const std::string& name);

private:
    using Page = std::array<HighScoreEntry, kRows>;
    std::vector<Page> m_pages;
};
