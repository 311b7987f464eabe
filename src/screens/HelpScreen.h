// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "screens/MenuScreen.h"
#include "screens/TextBlock.h"
#include "utils/Translation.h"

#include <memory>
#include <string>
#include <vector>

class Sprite;
namespace Xml {
class XmlNode;
}

// One text block or picture of a help page.
struct HelpItem {
    int page = 1;
    float x = 0.0f, y = 0.0f, z = 0.0f;
    TextColour colour{0.0f, 0.0f, 0.0f, 1.0f};
    float fontSize = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    std::string text;
    std::unique_ptr<TextBlock> block;
    std::unique_ptr<Sprite> picture;
    bool animated = false;

    void update(float dt);
    void render() const;
};

// The rules of the game, page by page, from mui/help.xml.
class HelpScreen : public MenuScreen {
public:
    static constexpr const char* kLayout = "mui/help_wnd.txt";
    static constexpr const char* kHelpFile = "mui/help.xml";
    static constexpr const char* kUnreadableText = trLater("The help pages could not be read.");

    HelpScreen(MenuResources& resources, float logicalWidth, float logicalHeight,
               MusicPlaylist& music, Config& config);
    ~HelpScreen() override;

    void onKeyDown(int virtualKey) override;
    void onControl(Control& control) override;
    void update(float dt) override;
    void render() override;

    int page() const { return m_page; }
    int pageCount() const { return m_pageCount; }
    const std::vector<std::unique_ptr<HelpItem>>& items() const { return m_items; }
    Button& closeButton() { return *m_closeButton; }
    Button& nextButton() { return *m_nextButton; }
    Button& prevButton() { return *m_prevButton; }

    // Reads the pages from the document; one page with a short message, and
    // false, when it does not parse or holds no page.
    bool loadPages(const char* bytes, std::size_t size);

private:
    bool readPages(const char* bytes, std::size_t size);
    std::unique_ptr<HelpItem> makeItem(const Xml::XmlNode& node, int page) const;
    int roomInLines(const HelpItem& item) const;
    void fitText(HelpItem& item) const;
    void loadPicture(HelpItem& item, const Xml::XmlNode& image) const;
    void showUnreadableMessage();
    void showPageButtons();

    Button* m_closeButton;
    Button* m_nextButton;
    Button* m_prevButton;
    std::vector<std::unique_ptr<HelpItem>> m_items;
    int m_pageCount = 0;
    int m_page = 1;
};
