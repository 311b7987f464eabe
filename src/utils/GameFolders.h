// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

// Where the game reads its data and keeps the player's files. Started from its
// game folder (the build tree), everything stays in that folder as it always
// has; installed, the data comes from the share folder beside the program's
// folder and the player's files go to the XDG base folders of their home.
class GameFolders {
public:
    // The resource pack, by its name in the game folder.
    static constexpr const char* kPackFile = "data/data.pk";
    // The pictures at twice the size, for large windows; optional.
    static constexpr const char* kFinePackFile = "data/data2x.pk";

    // The value of an environment variable, empty when it is unset.
    using Environment = std::function<std::string(const char* name)>;

    // The game folder in the working directory: names are used as given.
    GameFolders() = default;
    // Everything inside one game folder (ends with '/').
    static GameFolders gameFolder(std::string folder);
    // Data read from dataFolder; the player's files in the XDG folders.
    static GameFolders installed(std::string dataFolder, const Environment& environment);
    // The game folder when the program's own folder holds the pack, else the
    // installed data when the share folder holds it, else the program's folder.
    static GameFolders locate(const std::string& programFolder, const Environment& environment);
    // getenv, with the home folder from the user database when HOME is unset.
    static std::string systemVariable(const char* name);

    // Names are the game folder's relative names (data/data.pk, data/dx.cfg):
    // installed, the player's files keep only their file name.
    std::string dataFile(const std::string& name) const { return m_data + name; }
    std::string configFile(const std::string& name) const { return place(m_config, name); }
    std::string playerDataFile(const std::string& name) const { return place(m_playerData, name); }
    std::string stateFile(const std::string& name) const { return place(m_state, name); }

    const std::string& dataFolder() const { return m_data; }
    bool isInstalled() const { return m_installed; }

    // The folders the program runs with; the working directory until set.
    static const GameFolders& current();
    static void setCurrent(GameFolders folders);

private:
    std::string place(const std::string& folder, const std::string& name) const;

    bool m_installed = false;
    std::string m_data;
    std::string m_config;
    std::string m_playerData;
    std::string m_state;
};
