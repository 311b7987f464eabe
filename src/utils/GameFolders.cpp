// SPDX-License-Identifier: GPL-3.0-or-later
#include "utils/GameFolders.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>

// The share folder relative to the installed program's folder; the build sets it
// from the install layout.
#ifndef VM_INSTALLED_DATA
#define VM_INSTALLED_DATA "../share/vellomar"
#endif

namespace {

constexpr const char* kFolderName = "vellomar/";

std::string withSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

// The variable when it names an absolute folder (the XDG rule), else the
// default under the home folder.
std::string baseFolder(const GameFolders::Environment& environment, const char* variable,
                       const char* underHome)
{
    const std::string value = environment(variable);
    if (!value.empty() && value.front() == '/')
        return withSlash(value);
    return withSlash(environment("HOME")) + underHome;
}

bool holdsPack(const std::string& folder)
{
    std::error_code error;
    return std::filesystem::is_regular_file(folder + GameFolders::kPackFile, error);
}

GameFolders& currentFolders()
{
    static GameFolders folders;
    return folders;
}

} // namespace

GameFolders GameFolders::gameFolder(std::string folder)
{
    GameFolders folders;
    folders.m_data = std::move(folder);
    return folders;
}

GameFolders GameFolders::installed(std::string dataFolder, const Environment& environment)
{
    GameFolders folders;
    folders.m_installed = true;
    folders.m_data = std::move(dataFolder);
    folders.m_config = baseFolder(environment, "XDG_CONFIG_HOME", ".config/") + kFolderName;
    folders.m_playerData = baseFolder(environment, "XDG_DATA_HOME", ".local/share/") + kFolderName;
    folders.m_state = baseFolder(environment, "XDG_STATE_HOME", ".local/state/") + kFolderName;
    return folders;
}

GameFolders GameFolders::locate(const std::string& programFolder, const Environment& environment)
{
    if (programFolder.empty() || holdsPack(programFolder))
        return gameFolder(programFolder);
    const std::filesystem::path share =
        (std::filesystem::path(programFolder) / VM_INSTALLED_DATA).lexically_normal();
    const std::string shareFolder = withSlash(share.string());
    if (holdsPack(shareFolder))
        return installed(shareFolder, environment);
    return gameFolder(programFolder);
}

std::string GameFolders::systemVariable(const char* name)
{
    if (const char* value = std::getenv(name); value != nullptr && *value != '\0')
        return value;
    if (std::string(name) == "HOME")
        if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir != nullptr)
            return user->pw_dir;
    return {};
}

std::string GameFolders::place(const std::string& folder, const std::string& name) const
{
    if (!m_installed)
        return m_data + name;
    return folder + std::filesystem::path(name).filename().string();
}

const GameFolders& GameFolders::current()
{
    return currentFolders();
}

void GameFolders::setCurrent(GameFolders folders)
{
    currentFolders() = std::move(folders);
}
