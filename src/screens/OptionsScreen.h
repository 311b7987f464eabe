// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "screens/MenuScreen.h"
#include "utils/Translation.h"

#include <string>
#include <vector>

class CheckBox;
class ChoiceBox;
class TrackBar;

// Music volume, sound effects, hints, menu dragons, full screen and the
// language; every change takes effect at once and goes into the
// configuration (the language is saved at once).
class OptionsScreen : public MenuScreen {
public:
    static constexpr const char* kLayout = "mui/options_wnd.txt";
    // The keys and controller buttons, two centred lines under the title,
    // above the options' box; y is the bottom of the first line.
    static constexpr const char* kKeysLines[] = {
        trLater("Keys: arrows or Tab move, Space or Enter presses, Escape goes back"),
        trLater("Controller: d-pad or stick moves, A presses, B goes back")};
    // The language choice: its label, and what the choice shows while the
    // game follows the system's language. A language's own name is never
    // translated: a player must find it whatever the game speaks.
    static constexpr const char* kLanguageLabel = trLater("Language");
    static constexpr const char* kSystemLanguage = trLater("System language");
    static constexpr float kKeysTextSize = 15.0f;
    static constexpr float kKeysTextY = 124.0f;
    static constexpr float kKeysLineStep = 18.0f;
    // The language's label, as large as the art's "Music volume", and its choice's box.
    static constexpr float kLanguageLabelSize = 24.0f;
    static constexpr float kLanguageChoiceTextSize = 20.0f;
    static constexpr float kLanguageChoiceWidth = 236.0f;
    static constexpr float kLanguageChoiceHeight = 34.0f;

    OptionsScreen(MenuResources& resources, float logicalWidth, float logicalHeight,
                  MusicPlaylist& music, Config& config);

    void onKeyDown(int virtualKey) override;
    void onControl(Control& control) override;
    // Also switches the display when the full-screen box disagrees with it.
    void update(float dt) override;
    void render() override;

    Button& closeButton() { return *m_closeButton; }
    TrackBar& volumeSlider() { return *m_volume; }
    CheckBox& soundBox() { return *m_sound; }
    CheckBox& hintsBox() { return *m_hints; }
    CheckBox& dragonsBox() { return *m_dragonsBox; }
    CheckBox& fullScreenBox() { return *m_fullScreen; }
    ChoiceBox& languageChoice() { return *m_language; }

private:
    CheckBox& addCheckBox(const KeyValueFile& layout, const std::string& name, bool checked);
    void applyFullScreenBox();
    void drawKeys() const;
    void drawLanguageLabel() const;
    void listLanguages();
    void applyLanguage();

    Button* m_closeButton;
    TrackBar* m_volume;
    CheckBox* m_sound;
    CheckBox* m_hints;
    CheckBox* m_dragonsBox;
    CheckBox* m_fullScreen;
    ChoiceBox* m_language;
    // The settings' values of the choices: "" follows the system, then the codes.
    std::vector<std::string> m_languageCodes;
    float m_languageLabelX = 0.0f;
    float m_languageLabelY = 0.0f;
};
