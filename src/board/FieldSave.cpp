// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/Field.h"

#include "utils/KeyValueFile.h"

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

// The board's part of the saved game. A record is read whole before anything
// changes: lists of the wrong length, tokens that are not numbers, colours or
// cell types that do not exist reject it, and the board stays as it was.
namespace {

std::optional<std::vector<int>> parseIntegers(const std::string& text)
{
    std::vector<int> values;
    const char* at = text.c_str();
    const char* const end = at + text.size();
    while (at < end) {
        while (at < end && (*at == ' ' || *at == '\t' || *at == '\r' || *at == '\n'))
            ++at;
        if (at == end)
            break;
        char* stop = nullptr;
        errno = 0;
        const long value = std::strtol(at, &stop, 10);
        if (stop == at || errno == ERANGE || value < -2147483647L || value > 2147483647L)
            return std::nullopt;
        if (stop < end && *stop != ' ' && *stop != '\t' && *stop != '\r' && *stop != '\n')
            return std::nullopt;
        values.push_back(int(value));
        at = stop;
    }
    return values;
}

bool isFlowerColour(int colour, int numColours)
{
    return (colour >= 0 && colour < numColours) || isWildcard(colour);
}

bool isSavedCellType(int type)
{
    return type == int(CellType::Raw) || type == int(CellType::HalfCleared) ||
           type == int(CellType::Cleared) || type == int(CellType::Locked);
}

std::string joined(const std::vector<int>& values)
{
    std::string text;
    for (int v : values)
        text += std::to_string(v) + ' ';
    return text;
}

} // namespace

// A flower bursting in play is written as its burst will leave the board (its
// points are in the score already): gone or come back as its wildcard, its
// cell worn. The exit sweep's flowers stay whole; that level ends again as it did.
void Field::save(KeyValueFile& file) const
{
    std::vector<int> colours;
    std::vector<int> types;
    for (int r = 0; r < m_H; ++r)
        for (int c = 0; c < rowLength(r); ++c) {
            const Flower* flower = flowerAt(r, c);
            const bool burst = flower != nullptr && !m_exitStarted &&
                               (flower->state() == FlowerState::Exploding || flower->isDead());
            int colour = flower != nullptr ? flower->colour() : kNoColour;
            if (burst) {
                const int kind = flower->respawnKind();
                colour = kind == kBombFlower || kind == kBlastFlower ? kind : kNoColour;
            }
            colours.push_back(colour);
            if (const CellBack* back = cellBackAt(r, c))
                types.push_back(int(burst ? wornDown(back->type()) : back->type()));
        }
    std::vector<int> announced;
    for (const auto& flower : m_newCells)
        announced.insert(announced.end(),
                         {int(flower->position().x), int(flower->position().y), flower->colour()});
    file.setString("field.field", joined(colours));
    file.setString("field.cellBacks", joined(types));
    file.setString("field.newCells", joined(announced));
    file.setInt("field.score", m_score);
    file.setInt("field.m_statScoreOnLevel", m_stats.m_statScoreOnLevel);
    file.setInt("field.m_statBallsExploded", m_stats.m_statBallsExploded);
    file.setInt("field.m_statTimeOnLevel", m_stats.m_statTimeOnLevel);
    file.setInt("field.m_statTimeBonus", m_stats.m_statTimeBonus);
    file.setInt("field.m_statChains", m_stats.m_statChains);
    file.setInt("field.m_statChainBonus", m_stats.m_statChainBonus);
}

bool Field::savedBoardFits(const std::vector<int>& colours, const std::vector<int>& types,
                           const std::vector<int>& announced) const
{
    std::size_t position = 0;
    std::size_t cell = 0;
    for (int r = 0; r < m_H; ++r)
        for (int c = 0; c < rowLength(r); ++c, ++position) {
            if (position >= colours.size())
                return false;
            const int colour = colours[position];
            if (!isCell(r, c)) {
                if (colour != kNoColour)
                    return false;
                continue;
            }
            if (colour != kNoColour && !isFlowerColour(colour, m_numColours))
                return false;
            if (cell >= types.size() || !isSavedCellType(types[cell++]))
                return false;
        }
    if (position != colours.size() || cell != types.size() || announced.size() % 3 != 0)
        return false;
    for (std::size_t i = 2; i < announced.size(); i += 3)
        if (!isFlowerColour(announced[i], m_numColours))
            return false;
    return true;
}

bool Field::load(const KeyValueFile& file)
{
    const std::string field = file.getString("field.field", "");
    const std::string backs = file.getString("field.cellBacks", "");
    if (field.empty() || backs.empty())
        return false;
    const auto colours = parseIntegers(field);
    const auto types = parseIntegers(backs);
    const auto announced = parseIntegers(file.getString("field.newCells", ""));
    if (!colours || !types || !announced || !savedBoardFits(*colours, *types, *announced))
        return false;
    m_score = file.getInt("field.score", 0);
    restoreBoard(*colours, *types);
    clearAnnounced();
    if (announced->empty())
        announce();
    for (std::size_t i = 0; i + 2 < announced->size(); i += 3)
        addAnnounced(Vec4{float((*announced)[i]), float((*announced)[i + 1]), 0.0f, 1.0f},
                     (*announced)[i + 2]);
    m_stats = Statistics{};
    m_stats.m_statScoreOnLevel = file.getInt("field.m_statScoreOnLevel", 0);
    m_stats.m_statBallsExploded = file.getInt("field.m_statBallsExploded", 0);
    m_stats.m_statTimeOnLevel = file.getInt("field.m_statTimeOnLevel", 0);
    m_stats.m_statChains = file.getInt("field.m_statChains", 0);
    setIntroDelays();
    m_state = FieldState::Intro;
    return true;
}

void Field::restoreBoard(const std::vector<int>& colours, const std::vector<int>& types)
{
    std::size_t position = 0;
    std::size_t cell = 0;
    for (int r = 0; r < m_H; ++r)
        for (int c = 0; c < rowLength(r); ++c, ++position) {
            removeFlower(r, c);
            if (!isCell(r, c))
                continue;
            if (colours[position] != kNoColour)
                placeFlower(r, c, colours[position]);
            cellBackAt(r, c)->setType(CellType(types[cell++]));
        }
    rebuildColours();
}
