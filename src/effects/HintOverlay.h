// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

struct HintPlace;

// A hint picture fading in over the board until dismissed; hint 0 also
// shows the two gameplay animations. Its picture comes from GameResources.
class HintOverlay {
public:
    static constexpr float kFadeSpeed = 0.05f; // opacity per 30 ms

    explicit HintOverlay(int index);

    // Advances the fade; true once the overlay has faded out and may go.
    bool update(float dt);
    // Starts the fade-out; one already fading out stays so.
    void dismiss();
    // Draws the picture at its place; a hint without a place draws nothing.
    void render() const;

    // The place this overlay shows; null when the hint document has none for it.
    const HintPlace* place() const;
    int index() const { return m_index; }
    float alpha() const { return m_alpha; }
    float fadeSpeed() const { return m_fadeSpeed; }

private:
    int m_index;
    float m_holdTime = 0.0f;
    float m_alpha = 0.0f;
    float m_fadeSpeed = kFadeSpeed;
};
