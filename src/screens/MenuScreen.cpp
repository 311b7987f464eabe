// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/MenuScreen.h"

#include "app/Application.h"
#include "app/Config.h"
#include "audio/MusicPlaylist.h"
#include "screens/MenuDrawing.h"
#include "ui/Button.h"
#include "ui/MenuCursor.h"
#include "ui/MenuResources.h"

#include <GL/gl.h>

MenuScreen::MenuScreen(MenuResources& resources, float logicalWidth, float logicalHeight,
                       DragonColours colours, MusicPlaylist& music, Config& config)
    : m_resources(resources), m_music(music), m_config(config), m_logicalWidth(logicalWidth),
      m_logicalHeight(logicalHeight), m_dragons(resources.dragon(), colours)
{
    enableKeyboardFocus();
    updateDraggable();
}

MenuScreen::~MenuScreen() = default;

void MenuScreen::onMouseMove(int x, int y, std::uint32_t keys)
{
    Window::onMouseMove(toLogicalX(x), toLogicalY(y), keys);
}

bool MenuScreen::isDragArea(int x, int y) const
{
    return Window::isDragArea(toLogicalX(x), toLogicalY(y));
}

void MenuScreen::onLeftButtonUp(int x, int y, std::uint32_t keys)
{
    Window::onLeftButtonUp(toLogicalX(x), toLogicalY(y), keys);
}

void MenuScreen::onRightButtonUp(int x, int y, std::uint32_t keys)
{
    Window::onRightButtonUp(toLogicalX(x), toLogicalY(y), keys);
}

void MenuScreen::onLeftButtonDown(int x, int y, std::uint32_t keys)
{
    Window::onLeftButtonDown(toLogicalX(x), toLogicalY(y), keys);
}

void MenuScreen::update(float dt)
{
    Window::update(dt);
    MenuCursor::updateCurrent(dt);
    m_dragons.step(dt);
}

void MenuScreen::onCloseRequest()
{
    Application::get().postCloseMessage();
}

Button& MenuScreen::addButton(const KeyValueFile& layout, const std::string& name,
                              const std::string& imageKey)
{
    auto button = std::make_unique<Button>(*this, m_resources.texture(imageKey));
    button->loadPosition(layout, name);
    return own(std::move(button));
}

void MenuScreen::drawBackdrop(const char* imageKey) const
{
    MenuDrawing::drawBackground(m_resources.texture(imageKey));
    if (m_config.m_showDragons)
        m_dragons.render();
}

void MenuScreen::finishRender()
{
    glPopMatrix();
    m_music.pump();
    MenuCursor::renderCurrent();
}

void MenuScreen::updateDraggable()
{
    m_draggable = !(Application::exists() && Application::get().isFullScreen());
}
