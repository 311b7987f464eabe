// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MenuResources.h"

#include "platform/WebBrowser.h"
#include "utils/FilePack.h"
#include "utils/GameFolders.h"

MenuResources::MenuResources(FilePack& pack) : m_pack(pack)
{
    loadFont();
    loadTextures();
    m_locked = Texture::load(&m_pack, kLockedFile, TextureWrap::Clamp, TextureMipmaps::None);
    m_dragon = Sprite::load(m_pack, "mui/dragon.spr");
    m_cursor = Sprite::load(m_pack, "mui/cursor.spr");
    m_cursor2 = Sprite::load(m_pack, "mui/cursor2.spr");
}

MenuResources::~MenuResources() = default;

void MenuResources::loadFont()
{
    m_fontTexture = Texture::load(&m_pack, kFontFile, TextureWrap::Clamp, TextureMipmaps::None);
    const PackEntry entry = m_pack.getFile(kFontFile);
    m_font.load(entry.data.data(), entry.data.size(), m_fontTexture.get());
}

void MenuResources::loadTextures()
{
    const KeyValueFile list = loadLayout(m_pack, kResourceList);
    const std::vector<std::string>& keys = resourceKeys();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const bool control = i < kControlImageCount;
        m_textures[keys[i]] =
            Texture::load(&m_pack, list.getString(keys[i], "0"), TextureWrap::Clamp,
                          control ? TextureMipmaps::Build : TextureMipmaps::None);
    }
}

Texture* MenuResources::texture(const std::string& key) const
{
    const auto found = m_textures.find(key);
    return found != m_textures.end() ? found->second.get() : nullptr;
}

const std::vector<std::string>& MenuResources::resourceKeys()
{
    static const std::vector<std::string> keys = {"m_zq_btn",
                                                  "m_new_game_btn",
                                                  "m_new_game_adv_btn",
                                                  "m_new_game_custom_btn",
                                                  "m_continue_btn",
                                                  "m_quit_game_btn",
                                                  "m_ok_btn",
                                                  "m_help_btn",
                                                  "m_enter_name_editbox",
                                                  "m_top7_btn",
                                                  "m_options_btn",
                                                  "m_mini_btn",
                                                  "m_fullscreen_btn",
                                                  "m_help_next_btn",
                                                  "m_help_prev_btn",
                                                  "m_top_next_btn",
                                                  "m_top_prev_btn",
                                                  "m_back_btn",
                                                  "m_cancel_btn",
                                                  "m_check_box",
                                                  "m_check_box2",
                                                  "m_music_track_bar",
                                                  "m_start_btn",
                                                  "m_gift_btn",
                                                  "m_continuesaved_btn",
                                                  "m_startnew_btn",
                                                  "m_main_window_back",
                                                  "m_options_window_back",
                                                  "m_enter_name_dlg_back",
                                                  "m_continue_dlg_back",
                                                  "m_help_window_back",
                                                  "m_top_window_back",
                                                  "m_cust_lev_wnd"};
    return keys;
}

std::string MenuResources::webAddress()
{
    // A page of the game's own is in its data folder, wherever it was started from.
    const std::string page = kWebPage;
    const bool onTheWeb = page.find("://") != std::string::npos;
    return WebBrowser::addressFor(onTheWeb ? page : GameFolders::current().dataFile(page));
}

KeyValueFile MenuResources::loadLayout(FilePack& pack, const std::string& fileName)
{
    KeyValueFile layout;
    layout.loadFromPack(pack, fileName, true);
    return layout;
}
