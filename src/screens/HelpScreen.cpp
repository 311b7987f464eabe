// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/HelpScreen.h"

#include "app/Application.h"
#include "app/Config.h"
#include "audio/MusicPlaylist.h"
#include "objects/Sprite.h"
#include "screens/MenuDrawing.h"
#include "ui/Button.h"
#include "ui/MenuCursor.h"
#include "ui/MenuResources.h"
#include "utils/FilePack.h"
#include "utils/Log.h"
#include "utils/Translation.h"
#include "utils/XmlNode.h"

#include <GL/gl.h>

#include <algorithm>

void HelpItem::update(float dt)
{
    if (picture != nullptr && animated)
        picture->update(dt);
}

void HelpItem::render() const
{
    if (picture != nullptr) {
        glPushMatrix();
        glTranslatef(x, y, z);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        picture->draw();
        glPopMatrix();
    }
    if (block != nullptr)
        block->draw(x, y, 10.0f, colour);
}

HelpScreen::HelpScreen(MenuResources& resources, float logicalWidth, float logicalHeight,
                       MusicPlaylist& music, Config& config)
    : MenuScreen(resources, logicalWidth, logicalHeight, DragonColours::Random, music, config)
{
    const KeyValueFile layout = MenuResources::loadLayout(resources.pack(), kLayout);
    m_closeButton = &addButton(layout, "m_close_btn", "m_back_btn");
    m_nextButton = &addButton(layout, "m_next_btn", "m_help_next_btn");
    m_prevButton = &addButton(layout, "m_prev_btn", "m_help_prev_btn");
    setInitialFocus(*m_nextButton);
    const std::optional<PackEntry> file = resources.pack().findFile(kHelpFile);
    if (file)
        loadPages(file->chars(), file->data.size());
    else
        showUnreadableMessage();
    showPageButtons();
}

HelpScreen::~HelpScreen() = default;

bool HelpScreen::loadPages(const char* bytes, std::size_t size)
{
    if (readPages(bytes, size))
        return true;
    showUnreadableMessage();
    return false;
}

bool HelpScreen::readPages(const char* bytes, std::size_t size)
{
    m_items.clear();
    m_pageCount = 0;
    m_page = 1;
    if (size == 0)
        return false; // the reader takes an empty buffer for a file name
    Xml::XmlNode root;
    try {
        root.parse(bytes, size);
    } catch (const Xml::CXmlException& error) {
        Log::write("%s: %s", kHelpFile, error.message().c_str());
        return false;
    }
    for (const Xml::XmlNode* pageNode : root.children()) {
        ++m_pageCount;
        const std::size_t first = m_items.size();
        for (const Xml::XmlNode* itemNode : pageNode->children())
            m_items.push_back(makeItem(*itemNode, m_pageCount));
        for (std::size_t i = first; i < m_items.size(); ++i)
            fitText(*m_items[i]);
    }
    return m_pageCount > 0;
}

// A block's room ends where the next text below it on the page begins, even
// when the page gives it more lines, so a longer translation is set smaller
// rather than run into it.
int HelpScreen::roomInLines(const HelpItem& item) const
{
    float bottom = item.y + (item.height - 1.0f) * item.fontSize;
    for (const auto& other : m_items)
        if (other.get() != &item && other->page == item.page && !other->text.empty() &&
            other->y > item.y && other->x < item.x + item.width && item.x < other->x + other->width)
            bottom = std::min(bottom, other->y - other->fontSize);
    return std::max(1, int((bottom - item.y) / item.fontSize + 1.001f));
}

void HelpScreen::fitText(HelpItem& item) const
{
    if (item.text.empty())
        return;
    item.block = std::make_unique<TextBlock>(m_resources.font(), item.width, item.fontSize,
                                             std::min(int(item.height), roomInLines(item)));
    item.block->fit(item.text);
}

std::unique_ptr<HelpItem> HelpScreen::makeItem(const Xml::XmlNode& node, int page) const
{
    auto item = std::make_unique<HelpItem>();
    item->page = page;
    if (const Xml::XmlNode* pos = node.findChild("pos")) {
        item->x = pos->floatAttribute("x", 0.0f);
        item->y = pos->floatAttribute("y", 0.0f);
        item->z = pos->floatAttribute("z", 0.0f);
    }
    if (const Xml::XmlNode* colour = node.findChild("font_color"))
        item->colour = {colour->floatAttribute("r", 0.0f), colour->floatAttribute("g", 0.0f),
                        colour->floatAttribute("b", 0.0f), colour->floatAttribute("a", 0.0f)};
    item->fontSize = node.floatAttribute("font_size", 0.0f);
    item->width = node.floatAttribute("width", 0.0f);
    item->height = node.floatAttribute("height", 0.0f);
    if (const Xml::XmlNode* text = node.findChild("text"))
        item->text = tr(text->text());
    if (const Xml::XmlNode* image = node.findChild("image"))
        loadPicture(*item, *image);
    return item;
}

void HelpScreen::loadPicture(HelpItem& item, const Xml::XmlNode& image) const
{
    std::string name = image.text();
    name.erase(0, name.find_first_not_of(" \t\r\n"));
    name.erase(name.find_last_not_of(" \t\r\n") + 1);
    FilePack& pack = m_resources.pack();
    if (!pack.findFile(name)) {
        Log::write("%s: no picture %s", kHelpFile, name.c_str());
        return;
    }
    try {
        item.picture = Sprite::loadFrameSequence(pack, name);
    } catch (const Xml::CXmlException& error) {
        Log::write("%s: %s", name.c_str(), error.message().c_str());
        return;
    }
    item.animated = image.intAttribute("animated", 0) != 0;
    item.picture->setPosition(item.x, item.y, item.z);
    item.picture->setFps(image.floatAttribute("frame_time", 30.0f));
    item.picture->setGroup(image.intAttribute("group", 0));
    item.picture->setBlend(true);
    item.picture->setFlipped(true);
    item.picture->setFrameSize(item.width, item.height);
}

void HelpScreen::showUnreadableMessage()
{
    m_items.clear();
    m_pageCount = 1;
    m_page = 1;
    auto item = std::make_unique<HelpItem>();
    item->x = 80.0f;
    item->y = 200.0f;
    item->fontSize = 24.0f;
    item->width = 640.0f;
    item->height = 2.0f;
    item->colour = {1.0f, 1.0f, 1.0f, 1.0f};
    item->text = tr(kUnreadableText);
    item->block = std::make_unique<TextBlock>(m_resources.font(), item->width, item->fontSize, 2);
    item->block->fit(item->text);
    m_items.push_back(std::move(item));
}

void HelpScreen::onKeyDown(int virtualKey)
{
    if (virtualKey == m_config.m_backKey)
        onControl(*m_closeButton);
    MenuScreen::onKeyDown(virtualKey);
}

void HelpScreen::onControl(Control& control)
{
    MenuScreen::onControl(control);
    if (&control == m_closeButton)
        Application::get().close(false);
    else if (&control == m_nextButton)
        m_page = std::min(m_page + 1, m_pageCount);
    else if (&control == m_prevButton)
        m_page = std::max(m_page - 1, 1);
}

void HelpScreen::update(float dt)
{
    MenuScreen::update(dt);
    for (const auto& item : m_items)
        if (item->page == m_page)
            item->update(dt);
    m_music.pump();
}

void HelpScreen::showPageButtons()
{
    m_prevButton->setEnabled(m_page > 1);
    m_nextButton->setEnabled(m_page == 1 || m_page < m_pageCount);
}

void HelpScreen::render()
{
    glPushMatrix();
    drawBackdrop("m_help_window_back");
    showPageButtons();
    Window::render();
    for (const auto& item : m_items)
        if (item->page == m_page)
            item->render();
    glPopMatrix();
    MenuCursor::renderCurrent();
}
