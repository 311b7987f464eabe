// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <vector>

class Window;

// The screens, one over the other, and the dialogs over the front screen.
// The stacks never own a window; whoever is told of a close deletes it.
// Only the front screen and the dialogs are drawn, the overlay over them.
class WindowStack {
public:
    // changed: the picture on show changed as a whole (a window came or went).
    explicit WindowStack(std::function<void()> changed);

    void pushScreen(Window& screen);
    void pushDialog(Window& dialog);
    // Takes a screen off the stack without telling anyone, even the last one
    // (the intro picture once the main menu is built).
    void removeScreen(Window& screen);
    // Drawn over every screen and dialog and updated every frame, taking no
    // input; not owned, null for none.
    void setOverlay(Window* overlay) { m_overlay = overlay; }
    // Closes the top dialog, else the front screen (never the last one). Not
    // now: done at the start of the next update, the way windows close
    // themselves from their own handlers.
    void close(bool now);
    // Drops every dialog without telling anyone.
    void clearDialogs() { m_dialogs.clear(); }

    // Carries out a close asked for earlier and tells the owner of the
    // window closed; first in every update.
    void settleCloses();
    void updateTop(float dt);
    void updateOverlay(float dt);
    void render();
    // Whether every window on show draws from its state alone.
    bool rendersStateOnly() const;

    const std::vector<Window*>& screens() const { return m_screens; }
    const std::vector<Window*>& dialogs() const { return m_dialogs; }
    Window* topWindow() const;
    Window* frontScreen() const;

private:
    void closeTopWindow();
    void tellOwnerOfClosedWindow();

    std::function<void()> m_changed;
    std::vector<Window*> m_screens;
    std::vector<Window*> m_dialogs;
    Window* m_overlay = nullptr;
    Window* m_closedWindow = nullptr;
    bool m_closedWasDialog = false;
    bool m_tellOwnerPending = false;
    bool m_closeRequested = false;
};
