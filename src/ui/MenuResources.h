// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "objects/Font.h"
#include "objects/Sprite.h"
#include "objects/Texture.h"
#include "utils/KeyValueFile.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class FilePack;

// The images every menu shares: the menu font, one texture per entry of
// mui/resourses.txt, the level lock, the dragon and the two pointer sprites,
// and the page the web-site buttons open. Made once by the main menu.
class MenuResources {
public:
    static constexpr const char* kResourceList = "mui/resourses.txt";
    static constexpr const char* kFontFile = "mui/font.tga";
    static constexpr const char* kLockedFile = "mui/locked.tga";
    // A web address, or a page in the game folder (a build setting).
    static constexpr const char* kWebPage = VM_WEB_PAGE;

    explicit MenuResources(FilePack& pack);
    ~MenuResources();
    MenuResources(const MenuResources&) = delete;
    MenuResources& operator=(const MenuResources&) = delete;

    // The texture of a resource-list key; null for a key the list does not have.
    Texture* texture(const std::string& key) const;
    Font& font() { return m_font; }
    const Font& font() const { return m_font; }
    Texture* locked() const { return m_locked.get(); }
    Sprite& dragon() const { return *m_dragon; }
    Sprite& cursor() const { return *m_cursor; }
    Sprite& cursor2() const { return *m_cursor2; }
    // The address the web-site buttons open, found again on each use.
    static std::string webAddress();
    FilePack& pack() const { return m_pack; }

    // The resource-list keys in reading order; the first kControlImageCount
    // are control images (mipmapped), the rest window backgrounds.
    static const std::vector<std::string>& resourceKeys();
    static constexpr std::size_t kControlImageCount = 26;

    // A screen's layout file from the pack, read afresh.
    static KeyValueFile loadLayout(FilePack& pack, const std::string& fileName);

private:
    void loadFont();
    void loadTextures();

    FilePack& m_pack;
    std::unique_ptr<Texture> m_fontTexture;
    Font m_font;
    std::map<std::string, std::unique_ptr<Texture>> m_textures;
    std::unique_ptr<Texture> m_locked;
    std::unique_ptr<Sprite> m_dragon;
    std::unique_ptr<Sprite> m_cursor;
    std::unique_ptr<Sprite> m_cursor2;
};
