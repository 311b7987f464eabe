// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "screens/MenuDragon.h"
#include "ui/Window.h"

#include <memory>
#include <string>
#include <vector>

class Button;
class Control;
class KeyValueFile;
class MenuResources;
class MusicPlaylist;
class Config;

// What the menu screens share: mouse input in logical coordinates, the
// controls they own, the twelve dragons, and the closing steps of a frame.
class MenuScreen : public Window {
public:
    // music: the playlist the screens play and pump; config: the settings
    // they show and change; neither owned.
    MenuScreen(MenuResources& resources, float logicalWidth, float logicalHeight,
               DragonColours colours, MusicPlaylist& music, Config& config);
    ~MenuScreen() override;

    void onMouseMove(int x, int y, std::uint32_t keys) override;
    void onLeftButtonUp(int x, int y, std::uint32_t keys) override;
    void onRightButtonUp(int x, int y, std::uint32_t keys) override;
    void onLeftButtonDown(int x, int y, std::uint32_t keys) override;
    bool isDragArea(int x, int y) const override;
    // Base update, the pointer's animation, the dragons' step.
    void update(float dt) override;
    // Alt+F4 on any menu ends the program the normal way.
    void onCloseRequest() override;
    bool rendersStateOnly() const override { return true; }

    DragonFlock& dragons() { return m_dragons; }
    float logicalWidth() const { return m_logicalWidth; }
    float logicalHeight() const { return m_logicalHeight; }

protected:
    // A button with its resource-list image, placed by the layout and added.
    Button& addButton(const KeyValueFile& layout, const std::string& name,
                      const std::string& imageKey);
    // Takes a control made by the screen, adds it and keeps it.
    template <typename T> T& own(std::unique_ptr<T> control)
    {
        T& added = *control;
        addControl(added);
        m_owned.push_back(std::move(control));
        return added;
    }
    // The screen's picture, then the dragons: they fly over the picture but
    // under the words and buttons, which stay readable wherever they perch.
    void drawBackdrop(const char* imageKey) const;
    // The matrix popped, the music pumped, the pointer.
    void finishRender();
    // Windowed screens can be dragged; full screen cannot.
    void updateDraggable();

    MenuResources& m_resources;
    MusicPlaylist& m_music;
    Config& m_config;
    float m_logicalWidth;
    float m_logicalHeight;
    DragonFlock m_dragons;

private:
    std::vector<std::unique_ptr<Control>> m_owned;
};
