// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Window.h"

#include <functional>
#include <string>
#include <vector>

// A window that writes every call the shell makes into a shared journal, as
// "name.call" or "name.call(args)".
class RecordingWindow : public Window {
public:
    RecordingWindow(std::vector<std::string>& journal, std::string name)
        : m_journal(journal), m_name(std::move(name))
    {
    }

    void onMouseMove(int x, int y, std::uint32_t keys) override
    {
        note("move(" + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(keys) +
             ")");
    }
    void onLeftButtonDown(int x, int y, std::uint32_t) override { note("ldown" + at(x, y)); }
    void onLeftButtonUp(int x, int y, std::uint32_t) override { note("lup" + at(x, y)); }
    void onRightButtonDown(int x, int y, std::uint32_t) override { note("rdown" + at(x, y)); }
    void onRightButtonUp(int x, int y, std::uint32_t) override { note("rup" + at(x, y)); }
    void onKeyDown(int key) override { note("key(" + std::to_string(key) + ")"); }
    void onChar(char32_t c, std::uint16_t) override { note("char(" + std::to_string(c) + ")"); }
    void update(float dt) override
    {
        note("update(" + std::to_string(int(dt)) + ")");
        if (onUpdate)
            onUpdate();
    }
    void render() override
    {
        note("render");
        if (onRender)
            onRender();
    }
    void activate() override { note("activate"); }
    void onDialogClosed(Window& dialog, int result) override
    {
        note("dialogClosed(" + nameOf(dialog) + "," + std::to_string(result) + ")");
    }
    void onScreenClosed(Window& screen) override { note("screenClosed(" + nameOf(screen) + ")"); }
    void onCloseRequest() override
    {
        note("closeRequest");
        if (onClose)
            onClose();
    }

    const std::string& name() const { return m_name; }
    std::function<void()> onUpdate;
    std::function<void()> onRender;
    std::function<void()> onClose;

private:
    static std::string at(int x, int y)
    {
        return "(" + std::to_string(x) + "," + std::to_string(y) + ")";
    }
    static std::string nameOf(Window& window)
    {
        auto* recording = dynamic_cast<RecordingWindow*>(&window);
        return recording != nullptr ? recording->name() : "?";
    }
    void note(const std::string& call) { m_journal.push_back(m_name + "." + call); }

    std::vector<std::string>& m_journal;
    std::string m_name;
};
